#include "MallocTuning.h"

#include <malloc.h>

namespace
{
// Pictures and their blurred twins are bigger than this, per-tick buffers are
// smaller: only the former pay for a mapping of their own.
constexpr int OwnMappingBytes = 4 * 1024 * 1024;
} // namespace

void TuneMalloc()
{
  // The main thread's arena and one that all other threads share.
  mallopt(M_ARENA_MAX, 2);
  // A fixed threshold also stops glibc from raising it.
  mallopt(M_MMAP_THRESHOLD, OwnMappingBytes);
}

void GiveFreedMemoryBack()
{
  malloc_trim(0);
}
