#include "system_library.hpp"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace corvane {

void* OpenSystemLibrary(const char* sFile) {
#if defined(_WIN32)
    return LoadLibraryA(sFile);
#else
    return dlopen(sFile, RTLD_NOW | RTLD_LOCAL);
#endif
}

void* SystemLibrarySymbol(void* pLibrary, const char* sName) {
#if defined(_WIN32)
    // The loader hands out entry points as function addresses of no particular type.
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast)
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(pLibrary), sName));
#else
    return dlsym(pLibrary, sName);
#endif
}

const char* DatabaseEngineLibraryName() {
#if defined(_WIN32)
    return "sqlcipher.dll";
#else
    return "libsqlcipher.so.0";
#endif
}

} // namespace corvane
