// libFuzzer entry for the settings reader, built when the compiler is clang:
//   build/storage/settings_fuzzer -max_total_time=60
// Every input is read as a settings file and by the desktop-shortcut check.
#include "platform/fake_platform.hpp"
#include "storage/settings.hpp"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    const std::string sApp = "C:\\Program Files\\The Corvane Game";
    corvane::FakeFileSystem files;
    corvane::FakeMessageBoxes msg;
    files.Files[corvane::IniFileName(sApp)] =
        std::string(reinterpret_cast<const char*>(pData), nSize);
    corvane::MGlobal g;
    corvane::Ini_Load(g, corvane::IniFileName(sApp), sApp, files, msg);
    if (g.lAnimSpeed % 1000 != 0) {
        __builtin_trap();
    }
    corvane::GetCopyLnk(sApp, files, msg);
    return 0;
}
