// The folder the running executable was started from: the settings file and the
// default database live there.
#pragma once

#include <string>

namespace corvane {

// The executable's folder without a trailing separator; empty if it cannot be found.
std::string ProgramFolder();

} // namespace corvane
