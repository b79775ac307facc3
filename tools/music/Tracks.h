#pragma once

#include "Composer.h"

#include <vector>

namespace music
{
/// The game's music, in the order the tracks are made.
const std::vector<TrackSpec>& Tracks();
} // namespace music
