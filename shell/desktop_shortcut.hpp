// The desktop shortcut: copied without a question on the first run, offered on
// later runs while none is on the desktop. Only machines whose system folder is
// C:\WINDOWS\SYSTEM have the fixed desktop folder this relies on; elsewhere
// (every Linux machine, whose system folder is empty) nothing happens.
#pragma once

#include "engine/mglobal.hpp"
#include "platform/file_system.hpp"
#include "platform/message_box.hpp"
#include "platform/shell_files.hpp"

#include <array>
#include <functional>
#include <string>

namespace corvane {

inline constexpr const char* kDesktopLink = R"(C:\WINDOWS\DESKTOP\CORVANE.LNK)";
inline constexpr std::array<const char*, 2> kDesktopPatterns = {
    R"(C:\Windows\Desktop\Corvane*.lnk)", R"(C:\Windows\Desktop\TheCorv*.lnk)"};

// True when the system folder, trimmed and in capitals, is C:\WINDOWS\SYSTEM.
bool IsWin9xDesktop(const std::string& sSystemFolder);

// The shipped shortcut beside the program.
std::string ShippedLinkFile(const std::string& sAppPath);

// True when a shortcut of the program is on the desktop, and also when the
// desktop cannot be searched, so that no offer follows.
bool DesktopLinkExists(ShellFiles& files);

// Copies the shipped shortcut over the desktop one. A missing shipped file does
// nothing; a failure shows "number: description" titled "CopyLinkToDeskTop".
void CopyLinkToDeskTop(ShellFiles& files, MessageBoxes& msg, const std::string& sAppPath);

// The start-up steps after bCopyLnk was read: the silent copy on the first run,
// then, when no shortcut is on the desktop, the offer (showCopyIcon shows
// FCopyIcon modally). Returns whether the offer was shown.
bool DesktopShortcutAtStart(const MGlobal& g, bool bWin9xDesktop, bool bFirstRun, ShellFiles& files,
                            MessageBoxes& msg, const std::string& sAppPath,
                            const std::function<void()>& showCopyIcon);

// The record of an earlier start on this machine: a small file in the program's
// folder. A start without it is the first.
std::string StartRecordFile(const std::string& sAppPath);
bool IsFirstRun(FileSystem& files, const std::string& sAppPath);
// Writes the record; a failure only means the next start also counts as the first.
void RecordStart(FileSystem& files, const std::string& sAppPath);

} // namespace corvane
