#include "data/HeapTuning.h"

#include <cstdlib>  // defines __GLIBC__ where glibc is the C library
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace ohmlet {

void KeepFreedMemoryForReuse() {
#if defined(__GLIBC__)
    // Up to 256 MB of freed heap stays mapped; larger documents still give theirs back.
    constexpr int kKeptBytes = 256 << 20;
    mallopt(M_TRIM_THRESHOLD, kKeptBytes);
    // Blocks up to 32 MB (a file's component list, the statistics of every component)
    // come from that heap too; mapped afresh, each would fault in page by page per use.
    constexpr int kHeapBlockBytes = 32 << 20;
    mallopt(M_MMAP_THRESHOLD, kHeapBlockBytes);
#endif
}

}  // namespace ohmlet
