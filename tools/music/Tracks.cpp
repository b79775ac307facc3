#include "Tracks.h"

// The tracks the levels name ("music" element of a level file). Scale degrees
// count from 0: in a major key 0 is I, 3 is IV, 4 is V, 5 is vi.
namespace music
{
namespace
{
const std::vector<int> Major{0, 2, 4, 5, 7, 9, 11};
const std::vector<int> Dorian{0, 2, 3, 5, 7, 9, 10};
} // namespace

const std::vector<TrackSpec>& Tracks()
{
  static const std::vector<TrackSpec> tracks{
      // The sea shore: a flute over a rippling guitar, D major, unhurried.
      {"Tidewater", 76, 4, 62, Major, {0, 5, 3, 4, 0, 5, 1, 4}, {3, 0, 3, 4, 5, 2, 3, 4}, "IAABAO", Lead::Flute,
       Accompaniment::Arpeggio, 7},
      // Cliffs and ledges: bells over held chords, A dorian, a walking pulse.
      {"Windward", 84, 4, 69, Dorian, {0, 6, 5, 6, 0, 6, 3, 4}, {3, 0, 3, 6, 2, 5, 3, 4}, "IAABBAO", Lead::Bells,
       Accompaniment::Pad, 23},
      // A friend's meadow: a reed tune in three, F major.
      {"Hearthside", 92, 3, 65, Major, {0, 3, 4, 0, 5, 3, 1, 4}, {3, 4, 2, 5, 1, 4, 0, 4}, "IAABBAO", Lead::Reed,
       Accompaniment::Waltz, 41},
  };
  return tracks;
}
} // namespace music
