#include "process_memory.hpp"

// Any C library header defines __GLIBC__ where glibc is the C library.
#include <cstdlib>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace corvane {

void ReleaseFreedMemory() {
#if defined(__GLIBC__)
    // glibc keeps freed pages mapped, and a worker thread's pool stays at its
    // peak until asked; this returns both.
    malloc_trim(0);
#endif
}

} // namespace corvane
