#pragma once

#include "Synth.h"

#include <vector>

namespace music
{
/// Integrated loudness in LUFS of channels at synth::SampleRate, measured the
/// way broadcasters do (ITU-R BS.1770-4: K-weighting, 400 ms blocks overlapping
/// by 75 %, absolute gate at -70 LUFS, relative gate 10 LU below). Every channel
/// is weighted 1 (left, right or centre). Silence yields -70 or less.
double IntegratedLoudness(const std::vector<synth::Signal>& channels);
} // namespace music
