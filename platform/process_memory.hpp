// The process's own memory, as far as the platform lets a program manage it.
#pragma once

namespace corvane {

// Hands memory the allocator keeps after frees (in every thread's pool) back to
// the system; does nothing where the allocator offers no such call. Meant for
// the moment a burst of start-up work is over, not for a hot path.
void ReleaseFreedMemory();

} // namespace corvane
