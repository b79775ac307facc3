#include "MallocTuning.h"

#include <malloc.h>

void TuneMalloc()
{
  // The main thread's arena and one that all other threads share.
  mallopt(M_ARENA_MAX, 2);
}

void GiveFreedMemoryBack()
{
  malloc_trim(0);
}
