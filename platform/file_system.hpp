// The file operations the program needs: existence tests, copies, folders and
// whole-file reads and writes. The settings file and the database-folder dialog
// go through this interface; tests use the in-memory fake.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace corvane {

// The separator put between a folder and a file name.
#ifdef _WIN32
inline constexpr char kPathSep = '\\';
#else
inline constexpr char kPathSep = '/';
#endif

// A file name held as UTF-8 text, as the program keeps every name, for the
// standard library's file functions.
std::filesystem::path PathFromUtf8(const std::string& sPath);

// Folder + separator + name, with no check for a separator already at the end of
// the folder: the program builds every file name this way.
std::string JoinPath(const std::string& sFolder, const std::string& sName);

// Whether the file system takes names that differ only in letter case for one
// file, as Windows does. Elsewhere the case is part of the name.
bool FileSystemFoldsCase();
// Whether two file or folder names name the same thing: compared in one letter
// case where the file system folds case, exactly elsewhere.
bool SamePath(std::string_view sA, std::string_view sB);
// A file or folder name in capitals (or small letters) where the file system
// folds case, as messages have always shown them there; unchanged elsewhere, so
// that the name shown is one that exists.
std::string PathUpperCase(std::string_view sPath);
std::string PathLowerCase(std::string_view sPath);

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // True when sPath names an existing file (not a folder).
    virtual bool FileExists(const std::string& sPath) = 0;
    // Copies a file, replacing nothing: fails when sTo exists. On failure sError
    // holds a description of the cause.
    virtual bool CopyFile(const std::string& sFrom, const std::string& sTo,
                          std::string& sError) = 0;
    // Creates one folder; true when it exists afterwards.
    virtual bool MakeFolder(const std::string& sPath, std::string& sError) = 0;
    // Reads a whole file as bytes.
    virtual bool ReadFile(const std::string& sPath, std::string& sContents,
                          std::string& sError) = 0;
    // Replaces a file's contents so that a crash leaves either the old file or
    // the new one, never a part of either.
    virtual bool WriteFileAtomic(const std::string& sPath, const std::string& sContents,
                                 std::string& sError) = 0;

protected:
    FileSystem() = default;
    FileSystem(const FileSystem&) = default;
    FileSystem(FileSystem&&) = default;
    FileSystem& operator=(const FileSystem&) = default;
    FileSystem& operator=(FileSystem&&) = default;
};

// The machine's own file system.
class LocalFileSystem final : public FileSystem {
public:
    bool FileExists(const std::string& sPath) override;
    bool CopyFile(const std::string& sFrom, const std::string& sTo, std::string& sError) override;
    bool MakeFolder(const std::string& sPath, std::string& sError) override;
    bool ReadFile(const std::string& sPath, std::string& sContents, std::string& sError) override;
    bool WriteFileAtomic(const std::string& sPath, const std::string& sContents,
                         std::string& sError) override;
};

} // namespace corvane
