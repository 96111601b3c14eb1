#include "system_library.hpp"

#include <dlfcn.h>

namespace corvane {

void* OpenSystemLibrary(const char* sFile) {
    return dlopen(sFile, RTLD_NOW | RTLD_LOCAL);
}

void* SystemLibrarySymbol(void* pLibrary, const char* sName) {
    return dlsym(pLibrary, sName);
}

const char* DatabaseEngineLibraryName() {
    return "libsqlcipher.so.0";
}

} // namespace corvane
