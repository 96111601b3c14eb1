// The few file services the desktop shortcut and the mail-out copy need beyond
// FileSystem: the operating system's system folder, a directory search with
// wildcards, a copy that replaces its target and the creation of a folder path.
// Failures come back as a number and a description, as the run time gives them.
#pragma once

#include <cstdint>
#include <string>

namespace corvane {

struct FileError {
    std::int32_t nNumber = 0;
    std::string sDescription;
};

// Error numbers of the run time for the usual causes.
inline constexpr std::int32_t kErrFileNotFound = 53;
inline constexpr std::int32_t kErrPermissionDenied = 70;
inline constexpr std::int32_t kErrPathFileAccess = 75;
inline constexpr std::int32_t kErrPathNotFound = 76;

class ShellFiles {
public:
    virtual ~ShellFiles() = default;
    // The system folder (on Windows the one GetSystemDirectoryA names); empty
    // where the system has none.
    virtual std::string SystemFolder() = 0;
    // Searches the folder part of sPattern for a file whose name matches its last
    // part ("*" and "?" wildcards, letters in any case). False with err filled
    // when the folder cannot be searched; otherwise bFound tells the outcome.
    virtual bool FindFile(const std::string& sPattern, bool& bFound, FileError& err) = 0;
    // Copies a file over sTo, replacing a file already there.
    virtual bool CopyReplacing(const std::string& sFrom, const std::string& sTo,
                               FileError& err) = 0;
    // Creates sPath and any missing folders above it; true when it exists afterwards.
    virtual bool MakeFolderPath(const std::string& sPath, FileError& err) = 0;

protected:
    ShellFiles() = default;
    ShellFiles(const ShellFiles&) = default;
    ShellFiles(ShellFiles&&) = default;
    ShellFiles& operator=(const ShellFiles&) = default;
    ShellFiles& operator=(ShellFiles&&) = default;
};

// The machine's own services.
class LocalShellFiles final : public ShellFiles {
public:
    std::string SystemFolder() override;
    bool FindFile(const std::string& sPattern, bool& bFound, FileError& err) override;
    bool CopyReplacing(const std::string& sFrom, const std::string& sTo, FileError& err) override;
    bool MakeFolderPath(const std::string& sPath, FileError& err) override;
};

// True when sName matches sPattern: "*" any run of characters, "?" one
// character, ASCII letters compared in any case.
bool WildcardMatch(const std::string& sName, const std::string& sPattern);

// Splits a path at its last separator ("\" and "/" both count, as on Windows):
// the folder before it and the name after it. A path without one is all name.
void SplitFolderAndName(const std::string& sPath, std::string& sFolder, std::string& sName);

// Where the send-score dialog puts the database copy: C:\EMAIL\OUT on Windows,
// the folder Corvane/mail-out in the user's home elsewhere (empty when the home
// folder is unknown).
std::string DefaultMailOutFolder();

} // namespace corvane
