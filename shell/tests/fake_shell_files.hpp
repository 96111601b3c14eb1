// A Windows machine's folders held in memory for the shortcut tests: paths are
// kept in capitals, so names compare in any letter case, and folders must exist
// before files go into them.
#pragma once

#include "platform/shell_files.hpp"

#include <cctype>
#include <map>
#include <set>
#include <string>
#include <utility>

namespace corvane::testing {

class FakeShellFiles final : public ShellFiles {
public:
    std::string SystemFolder() override { return sSystemFolder; }

    bool FindFile(const std::string& sPattern, bool& bFound, FileError& err) override {
        const auto [sFolder, sName] = Split(sPattern);
        bFound = false;
        for (const auto& [sPath, sText] : Files) {
            const auto [sIn, sFile] = Split(sPath);
            bFound = bFound || (sIn == sFolder && WildcardMatch(sFile, sName));
        }
        return Folders.contains(sFolder) || Fail(err, kErrPathNotFound, "Path not found");
    }

    bool CopyReplacing(const std::string& sFrom, const std::string& sTo, FileError& err) override {
        if (!Files.contains(Key(sFrom))) {
            return Fail(err, kErrFileNotFound, "File not found");
        }
        if (!Folders.contains(Split(sTo).first)) {
            return Fail(err, kErrPathNotFound, "Path not found");
        }
        if (ReadOnly.contains(Key(sTo))) {
            return Fail(err, kErrPermissionDenied, "Permission denied");
        }
        Files[Key(sTo)] = Files[Key(sFrom)];
        return true;
    }

    bool MakeFolderPath(const std::string& sPath, FileError& /*err*/) override {
        Folders.insert(Key(sPath));
        return true;
    }

    static std::string Key(std::string s) {
        for (char& c : s) {
            c = c == '/' ? '\\' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        return s;
    }

    std::string sSystemFolder = "C:\\WINDOWS\\SYSTEM";
    std::map<std::string, std::string> Files; // contents by Key(path)
    std::set<std::string> Folders;            // Key(path) of each folder
    std::set<std::string> ReadOnly;

private:
    static std::pair<std::string, std::string> Split(const std::string& sPath) {
        std::pair<std::string, std::string> parts;
        SplitFolderAndName(Key(sPath), parts.first, parts.second);
        return parts;
    }
    static bool Fail(FileError& err, std::int32_t nNumber, const char* sDescription) {
        err = {nNumber, sDescription};
        return false;
    }
};

} // namespace corvane::testing
