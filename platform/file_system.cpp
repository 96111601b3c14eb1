// The local file system through std::filesystem, with the one POSIX detail
// (flushing a file to the disk before it replaces the old one) kept here.
#include "file_system.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace corvane {

namespace fs = std::filesystem;

namespace {

// The descriptions the user sees for the usual causes, in the words of the run time.
std::string Describe(const std::error_code& ec) {
    if (ec == std::errc::no_such_file_or_directory) {
        return "File not found";
    }
    if (ec == std::errc::permission_denied || ec == std::errc::read_only_file_system ||
        ec == std::errc::operation_not_permitted) {
        return "Permission denied";
    }
    if (ec == std::errc::no_space_on_device) {
        return "Disk full";
    }
    if (ec == std::errc::file_exists) {
        return "File already exists";
    }
    if (ec == std::errc::is_a_directory) {
        return "Path/File access error";
    }
    return ec.message();
}

std::error_code LastError() {
    return {errno, std::generic_category()};
}

fs::path ToPath(const std::string& s) {
    return fs::u8path(s);
}

} // namespace

bool FileSystemFoldsCase() {
#ifdef _WIN32
    return true;
#else
    return false;
#endif
}

namespace {

std::string AsciiCase(std::string_view sText, bool bUpper) {
    std::string s(sText);
    const char cFrom = bUpper ? 'a' : 'A';
    const char cTo = bUpper ? 'A' : 'a';
    for (char& c : s) {
        if (c >= cFrom && c <= cFrom + 25) {
            c = static_cast<char>(c - cFrom + cTo);
        }
    }
    return s;
}

} // namespace

bool SamePath(std::string_view sA, std::string_view sB) {
    if (!FileSystemFoldsCase()) {
        return sA == sB;
    }
    return AsciiCase(sA, true) == AsciiCase(sB, true);
}

std::string PathUpperCase(std::string_view sPath) {
    return FileSystemFoldsCase() ? AsciiCase(sPath, true) : std::string(sPath);
}

std::string PathLowerCase(std::string_view sPath) {
    return FileSystemFoldsCase() ? AsciiCase(sPath, false) : std::string(sPath);
}

std::filesystem::path PathFromUtf8(const std::string& sPath) {
    return {std::u8string(sPath.begin(), sPath.end())};
}

std::string JoinPath(const std::string& sFolder, const std::string& sName) {
    return sFolder + kPathSep + sName;
}

bool LocalFileSystem::FileExists(const std::string& sPath) {
    std::error_code ec;
    return fs::is_regular_file(ToPath(sPath), ec);
}

bool LocalFileSystem::CopyFile(const std::string& sFrom, const std::string& sTo,
                               std::string& sError) {
    std::error_code ec;
    if (!fs::copy_file(ToPath(sFrom), ToPath(sTo), fs::copy_options::none, ec) || ec) {
        sError = Describe(ec ? ec : std::make_error_code(std::errc::file_exists));
        return false;
    }
    return true;
}

bool LocalFileSystem::MakeFolder(const std::string& sPath, std::string& sError) {
    std::error_code ec;
    fs::create_directory(ToPath(sPath), ec);
    if (ec) {
        sError = Describe(ec);
        return false;
    }
    if (!fs::is_directory(ToPath(sPath), ec)) {
        sError = "Path/File access error";
        return false;
    }
    return true;
}

bool LocalFileSystem::ReadFile(const std::string& sPath, std::string& sContents,
                               std::string& sError) {
    std::error_code ec;
    if (fs::is_directory(ToPath(sPath), ec)) {
        sError = "Path/File access error";
        return false;
    }
    std::ifstream in(ToPath(sPath), std::ios::binary);
    if (!in) {
        sError = Describe(LastError());
        return false;
    }
    sContents.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        sError = "Input past end of file";
        return false;
    }
    return true;
}

bool LocalFileSystem::WriteFileAtomic(const std::string& sPath, const std::string& sContents,
                                      std::string& sError) {
    const fs::path target = ToPath(sPath);
    // A name of its own, so that two programs saving at once cannot mix their texts.
    fs::path temp = target;
    temp += ".tmp" + std::to_string(std::random_device{}());
#ifdef _WIN32
    FILE* f = _wfopen(temp.c_str(), L"wb");
#else
    FILE* f = std::fopen(temp.c_str(), "wb");
#endif
    if (f == nullptr) {
        sError = Describe(LastError());
        return false;
    }
    bool bOk = std::fwrite(sContents.data(), 1, sContents.size(), f) == sContents.size();
    std::error_code ec;
    if (bOk && std::fflush(f) != 0) {
        bOk = false;
    }
    if (!bOk) {
        ec = LastError();
    }
#ifdef _WIN32
    if (bOk && _commit(_fileno(f)) != 0) {
        bOk = false;
        ec = LastError();
    }
#else
    // The new contents must be on the disk before the name points at them.
    if (bOk && ::fsync(fileno(f)) != 0) {
        bOk = false;
        ec = LastError();
    }
#endif
    if (std::fclose(f) != 0 && bOk) {
        bOk = false;
        ec = LastError();
    }
    if (bOk) {
        fs::rename(temp, target, ec);
        bOk = !ec;
    }
    if (!bOk) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        sError = Describe(ec);
        return false;
    }
    return true;
}

} // namespace corvane
