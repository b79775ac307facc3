#include "MallocArenas.h"

#include <malloc.h>

void LimitMallocArenas()
{
  // The main thread's arena and one that all other threads share.
  mallopt(M_ARENA_MAX, 2);
}
