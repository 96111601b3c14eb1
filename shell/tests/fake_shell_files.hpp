// A Windows machine's folders held in memory for the shortcut tests: names are
// compared in any letter case, folders must exist before files go into them.
#pragma once

#include "platform/shell_files.hpp"

#include <cctype>
#include <map>
#include <set>
#include <string>

namespace corvane::testing {

class FakeShellFiles final : public ShellFiles {
public:
    std::string SystemFolder() override { return sSystemFolder; }

    bool FindFile(const std::string& sPattern, bool& bFound, FileError& err) override {
        std::string sFolder;
        std::string sName;
        SplitFolderAndName(sPattern, sFolder, sName);
        bFound = false;
        if (!Folders.contains(Key(sFolder))) {
            err = {kErrPathNotFound, "Path not found"};
            return false;
        }
        for (const auto& [sKey, file] : Files) {
            std::string sFileFolder;
            std::string sFileName;
            SplitFolderAndName(file.sPath, sFileFolder, sFileName);
            if (Key(sFileFolder) == Key(sFolder) && WildcardMatch(sFileName, sName)) {
                bFound = true;
            }
        }
        return true;
    }

    bool CopyReplacing(const std::string& sFrom, const std::string& sTo, FileError& err) override {
        const auto it = Files.find(Key(sFrom));
        if (it == Files.end()) {
            err = {kErrFileNotFound, "File not found"};
            return false;
        }
        std::string sFolder;
        std::string sName;
        SplitFolderAndName(sTo, sFolder, sName);
        if (!Folders.contains(Key(sFolder))) {
            err = {kErrPathNotFound, "Path not found"};
            return false;
        }
        if (ReadOnly.contains(Key(sTo))) {
            err = {kErrPermissionDenied, "Permission denied"};
            return false;
        }
        const std::string sContents = it->second.sContents;
        Files[Key(sTo)] = {sTo, sContents};
        return true;
    }

    bool MakeFolderPath(const std::string& sPath, FileError& err) override {
        if (ReadOnly.contains(Key(sPath))) {
            err = {kErrPermissionDenied, "Permission denied"};
            return false;
        }
        for (std::size_t n = 0; n != std::string::npos; n = sPath.find_first_of("\\/", n + 1)) {
            if (n > 0) {
                Folders.insert(Key(sPath.substr(0, n)));
            }
        }
        Folders.insert(Key(sPath));
        return true;
    }

    void AddFolder(const std::string& sPath) { Folders.insert(Key(sPath)); }
    void AddFile(const std::string& sPath, const std::string& sContents) {
        Files[Key(sPath)] = {sPath, sContents};
    }
    void MakeReadOnly(const std::string& sPath) { ReadOnly.insert(Key(sPath)); }
    bool Has(const std::string& sPath) const { return Files.contains(Key(sPath)); }
    std::string Contents(const std::string& sPath) const {
        const auto it = Files.find(Key(sPath));
        return it == Files.end() ? std::string() : it->second.sContents;
    }
    bool HasFolder(const std::string& sPath) const { return Folders.contains(Key(sPath)); }

    struct File {
        std::string sPath;
        std::string sContents;
    };
    std::string sSystemFolder;
    std::map<std::string, File> Files;
    std::set<std::string> Folders;
    std::set<std::string> ReadOnly;

private:
    static std::string Key(const std::string& s) {
        std::string key = s;
        for (char& c : key) {
            c = c == '/' ? '\\' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        return key;
    }
};

} // namespace corvane::testing
