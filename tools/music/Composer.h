#pragma once

#include "Synth.h"

#include <cstdint>
#include <string>
#include <vector>

/// Composes calm background tracks from a short description: a melody drawn
/// from the chords of two progressions, a harmony part, a bass and a light
/// rhythm, arranged in sections, mixed in stereo with a little room.
namespace music
{
enum class Lead
{
  Flute, // breathy sine with vibrato
  Bells, // struck, dying away
  Reed   // odd harmonics, a soft clarinet
};

enum class Accompaniment
{
  Pad,      // held chords
  Arpeggio, // broken chords on a plucked string
  Waltz     // bass on one, chords on two and three
};

struct TrackSpec
{
  std::string name;     ///< the file name without extension and the title the game shows
  double beatsPerMinute;
  int beatsPerBar;      ///< 3 or 4
  int tonicMidi;        ///< the melody's tonic, as a MIDI note number
  std::vector<int> mode; ///< semitones of the seven degrees above the tonic
  std::vector<int> verse;  ///< eight chord roots as 0-based scale degrees, one per bar
  std::vector<int> bridge; ///< the same for the contrasting section
  std::string form;     ///< sections in order: I intro (4 bars), A verse, B bridge (8 bars), O outro (4)
  Lead lead;
  Accompaniment accompaniment;
  std::uint32_t seed;   ///< the melody and the small irregularities of the playing
};

struct Stereo
{
  synth::Signal left, right;
};

/// The track at its natural level (peaks well below 1); the same spec always gives the same samples.
Stereo Compose(const TrackSpec& spec);

/// Scales both channels to the loudness (LUFS), keeping every sample below
/// peak: the loudest moments are rounded off softly rather than clipped.
void Master(Stereo& track, double loudness, double peak);
} // namespace music
