#pragma once

/// Keeps glibc's allocator to a couple of arenas. Without the cap each thread
/// behind the media player and the sound device gets an arena of its own, and
/// what those arenas keep is never given back. Call it first in main, before
/// any thread starts.
void TuneMalloc();

/// Gives the pages that freed blocks leave inside the heap back to the system:
/// a level's pictures fragment it, and without this resident memory climbs by
/// tens of megabytes over the first levels and stays there. Called once a level
/// has replaced the one before it.
void GiveFreedMemoryBack();
