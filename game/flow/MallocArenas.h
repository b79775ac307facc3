#pragma once

/// Keeps glibc's allocator to a couple of arenas. Without the cap each thread
/// behind the media player and the sound device gets an arena of its own, and
/// the memory those arenas keep is never given back: resident memory then
/// climbs by some 20 MB over the first minutes of play. Call it first in main,
/// before any thread starts.
void LimitMallocArenas();
