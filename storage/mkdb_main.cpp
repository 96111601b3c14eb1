// corvane-mkdb FILE: makes a fresh game database at FILE unless one is there.
// The build runs it so that a corvane.mdb stands beside the program.
#include "db.hpp"
#include "platform/file_system.hpp"
#include "schema.hpp"

#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <system_error>

int main(int argc, char** argv) {
    const std::span<char*> args(argv, static_cast<std::size_t>(argc));
    if (argc != 2 || std::string(args[1]) == "--help") {
        std::fprintf(stderr, "usage: corvane-mkdb FILE\n"
                             "Creates a fresh, empty game database at FILE unless FILE exists.\n");
        return argc == 2 ? 0 : 2;
    }
    const std::string sFile = args[1];
    std::error_code ec;
    if (std::filesystem::exists(corvane::PathFromUtf8(sFile), ec)) {
        return 0;
    }
    try {
        corvane::CreateFreshDatabase(sFile);
    } catch (const corvane::db::DbError& e) {
        std::fprintf(stderr, "corvane-mkdb: %s: %d: %s\n", sFile.c_str(), e.nNumber,
                     e.sDescription.c_str());
        return 1;
    }
    std::printf("corvane-mkdb: created %s\n", sFile.c_str());
    return 0;
}
