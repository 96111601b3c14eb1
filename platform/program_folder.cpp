// Finding the executable's folder is the one place the program asks the
// operating system who it is.
#include "program_folder.hpp"

#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace corvane {

std::string ProgramFolder() {
    std::filesystem::path exe;
#ifdef _WIN32
    std::wstring buffer(32768, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0 || n >= buffer.size()) {
        return {};
    }
    buffer.resize(n);
    exe = buffer;
#else
    std::error_code ec;
    exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) {
        return {};
    }
#endif
    const std::u8string folder = exe.parent_path().u8string();
    return {folder.begin(), folder.end()};
}

} // namespace corvane
