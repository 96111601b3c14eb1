// The system folder, wildcard searches and replacing copies on the local machine.
#include "shell_files.hpp"

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace corvane {

namespace fs = std::filesystem;

namespace {

FileError ToFileError(const std::error_code& ec) {
    if (ec == std::errc::no_such_file_or_directory || ec == std::errc::not_a_directory) {
        return {kErrPathNotFound, "Path not found"};
    }
    if (ec == std::errc::permission_denied || ec == std::errc::read_only_file_system ||
        ec == std::errc::operation_not_permitted) {
        return {kErrPermissionDenied, "Permission denied"};
    }
    return {kErrPathFileAccess, "Path/File access error"};
}

// Recurses once for each '*' of the pattern, and file patterns are short.
// NOLINTNEXTLINE(misc-no-recursion)
bool MatchFrom(const std::string& s, std::size_t i, const std::string& p, std::size_t j) {
    while (j < p.size()) {
        if (p[j] == '*') {
            for (std::size_t k = i; k <= s.size(); ++k) {
                if (MatchFrom(s, k, p, j + 1)) {
                    return true;
                }
            }
            return false;
        }
        if (i >= s.size()) {
            return false;
        }
        const auto a = static_cast<unsigned char>(s[i]);
        const auto b = static_cast<unsigned char>(p[j]);
        if (p[j] != '?' && std::toupper(a) != std::toupper(b)) {
            return false;
        }
        ++i;
        ++j;
    }
    return i == s.size();
}

} // namespace

bool WildcardMatch(const std::string& sName, const std::string& sPattern) {
    return MatchFrom(sName, 0, sPattern, 0);
}

void SplitFolderAndName(const std::string& sPath, std::string& sFolder, std::string& sName) {
    const auto nPos = sPath.find_last_of("\\/");
    if (nPos == std::string::npos) {
        sFolder.clear();
        sName = sPath;
        return;
    }
    sFolder = sPath.substr(0, nPos);
    sName = sPath.substr(nPos + 1);
}

std::string LocalShellFiles::SystemFolder() {
#ifdef _WIN32
    char buffer[260];
    const UINT n = GetSystemDirectoryA(buffer, sizeof buffer);
    return n < sizeof buffer ? std::string(buffer, n) : std::string();
#else
    return {};
#endif
}

bool LocalShellFiles::FindFile(const std::string& sPattern, bool& bFound, FileError& err) {
    std::string sFolder;
    std::string sName;
    SplitFolderAndName(sPattern, sFolder, sName);
    bFound = false;
    std::error_code ec;
    fs::directory_iterator it(fs::u8path(sFolder.empty() ? "." : sFolder), ec);
    if (ec) {
        err = ToFileError(ec);
        return false;
    }
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (it->is_regular_file(ec) && WildcardMatch(it->path().filename().string(), sName)) {
            bFound = true;
            return true;
        }
    }
    if (ec) {
        err = ToFileError(ec);
        return false;
    }
    return true;
}

bool LocalShellFiles::CopyReplacing(const std::string& sFrom, const std::string& sTo,
                                    FileError& err) {
    std::error_code ec;
    if (!fs::is_regular_file(fs::u8path(sFrom), ec)) {
        err = {kErrFileNotFound, "File not found"};
        return false;
    }
    fs::copy_file(fs::u8path(sFrom), fs::u8path(sTo), fs::copy_options::overwrite_existing, ec);
    if (ec) {
        err = ToFileError(ec);
        return false;
    }
    return true;
}

bool LocalShellFiles::MakeFolderPath(const std::string& sPath, FileError& err) {
    std::error_code ec;
    fs::create_directories(fs::u8path(sPath), ec);
    if (ec || !fs::is_directory(fs::u8path(sPath), ec)) {
        err = ToFileError(ec ? ec : std::make_error_code(std::errc::not_a_directory));
        return false;
    }
    return true;
}

std::string DefaultMailOutFolder() {
#ifdef _WIN32
    return "C:\\EMAIL\\OUT";
#else
    const char* sHome = std::getenv("HOME");
    if (sHome == nullptr || *sHome == '\0') {
        return {};
    }
    return std::string(sHome) + "/Corvane/mail-out";
#endif
}

} // namespace corvane
