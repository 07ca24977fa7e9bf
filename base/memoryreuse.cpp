#include "base/memoryreuse.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace varno {

void keepFreedMemoryForReuse()
{
#if defined(__GLIBC__)
    mallopt(M_TRIM_THRESHOLD, 8 << 20);
#endif
}

}  // namespace varno
