// The settings file corvane.ini in the program's folder: eight "key=value" lines
// under "[Options]", written whole by Ini_Save and read line by line by Ini_Load.
// Keys are the first seven characters of a line; the readers rely on that.
#pragma once

#include "engine/mglobal.hpp"
#include "platform/file_system.hpp"
#include "platform/message_box.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

// The settings file's full name in the given program folder.
std::string IniFileName(const std::string& sAppPath);

// The eight lines Ini_Save writes, each ended by CR LF.
std::string IniText(const MGlobal& g, bool bMaximised);

// Writes the settings file of the program folder sAppPath in one piece: a crash
// leaves the old file or the new one. A failure beeps and shows its description
// titled "Ini Save Error".
void Ini_Save(const MGlobal& g, bool bMaximised, const std::string& sAppPath, FileSystem& files,
              MessageBoxes& msg);

// Reads the settings file sFName and applies each recognised line to g; later
// lines win. "APPPATH" as db_path means sAppPath. A failure (the file cannot be
// read, a number out of range) beeps and shows its description titled "Ini File";
// the lines after a bad number are still read.
void Ini_Load(MGlobal& g, const std::string& sFName, const std::string& sAppPath, FileSystem& files,
              MessageBoxes& msg);

// Whether the desktop shortcut may be copied or offered: only for the installation
// folder, and only when the last line keyed COPYLNK (any case) says exactly TRUE.
bool GetCopyLnk(const std::string& sAppPath, FileSystem& files, MessageBoxes& msg);

// The leading number of a text, as the settings reader sees it: blanks skipped,
// an optional sign, digits, a fraction and an exponent; 0 when the text does not
// start with a number.
double LeadingNumber(std::string_view sText);

// A number rounded to the nearest whole number (halves to even) as a 32-bit value,
// or nothing when it does not fit.
std::optional<std::int32_t> RoundToLong(double dValue);

// Leading and trailing spaces removed.
std::string TrimBlanks(std::string_view sText);

// ASCII letters in upper case; other bytes unchanged.
std::string UpperCase(std::string_view sText);

} // namespace corvane
