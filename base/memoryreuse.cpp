#include "base/memoryreuse.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace varno {

void keepFreedMemoryForReuse()
{
#if defined(__GLIBC__)
    // Fixing one turns off glibc's own raising of both as large blocks come
    // and go, so both are set, in its ratio: a decoded picture of a few
    // MiB comes from the heap too, instead of fresh pages mapped each time.
    mallopt(M_MMAP_THRESHOLD, 4 << 20);
    mallopt(M_TRIM_THRESHOLD, 8 << 20);
#endif
}

}  // namespace varno
