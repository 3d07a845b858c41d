#include "platform/memory.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace qv {

void KeepFreedMemory() {
#if defined(__GLIBC__)
  // Blocks up to 32 MB come from the heap rather than from pages mapped and
  // unmapped for each, and up to 64 MB of free heap is kept before any is
  // given back: a proof of tens of thousands of statements fits, and a
  // proof of 50 MB still gives its largest buffers back when it goes.
  mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
  mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
#endif
}

}  // namespace qv
