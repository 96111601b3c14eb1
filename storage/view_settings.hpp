// The view options' own file, corvane-view.ini beside corvane.ini: other copies
// of the program read corvane.ini and expect its eight lines, so the table's
// looks are kept apart. Reading never complains: a missing or damaged file, or a
// line that makes no sense, leaves the defaults.
#pragma once

#include "engine/mglobal.hpp"
#include "platform/file_system.hpp"

#include <string>

namespace corvane {

std::string ViewFileName(const std::string& sAppPath);

// The file's text: "[View]" and one "key=TRUE|FALSE" line per option, CR LF ended.
std::string ViewText(const ViewOptions& view);
// The options a text describes; anything unrecognised keeps its default.
ViewOptions ParseViewText(const std::string& sText);

// The options in the program folder's file, or the defaults.
ViewOptions LoadViewOptions(const std::string& sAppPath, FileSystem& files);
// Writes the file; false when it could not be written.
bool SaveViewOptions(const ViewOptions& view, const std::string& sAppPath, FileSystem& files);

} // namespace corvane
