#pragma once

/// Sets glibc's allocator up so that the memory of a level is given back when
/// the level goes. By default each thread behind the media player and the sound
/// device gets an arena of its own, and the threshold above which a block is
/// mapped on its own rises with every large block freed, until the level
/// pictures land in the heap, where they fragment it: resident memory then
/// climbs by tens of megabytes over the first minutes of play and stays there.
/// Call it first in main, before any thread starts.
void TuneMalloc();

/// Gives the pages that freed blocks leave in the heap back to the system:
/// called once a level has replaced the one before it.
void GiveFreedMemoryBack();
