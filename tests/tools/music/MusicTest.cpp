#include "Composer.h"
#include "Loudness.h"
#include "Tracks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

namespace
{
constexpr double Pi = 3.14159265358979323846;

synth::Signal sine(double seconds, double hz, double amplitude)
{
  synth::Signal signal(synth::samplesFor(seconds));
  for (std::size_t i = 0; i < signal.size(); ++i)
    signal[i] = amplitude * std::sin(2 * Pi * hz * i / synth::SampleRate);
  return signal;
}
} // namespace

// The reference points of the measurement: a full-scale 997 Hz sine in one
// channel reads -3.01 LUFS, 20 dB less reads 20 LU less, and the gates drop silence.
TEST(Loudness, MatchesTheBroadcastCalibration)
{
  EXPECT_NEAR(music::IntegratedLoudness({sine(5, 997, 1.0)}), -3.01, 0.05);
  EXPECT_NEAR(music::IntegratedLoudness({sine(5, 997, 0.1)}), -23.01, 0.05);
  EXPECT_NEAR(music::IntegratedLoudness({sine(5, 997, 0.1), sine(5, 997, 0.1)}), -20.0, 0.05);

  synth::Signal withPause = sine(5, 997, 0.1);
  withPause.resize(withPause.size() * 3, 0.0);
  EXPECT_NEAR(music::IntegratedLoudness({withPause}), -23.01, 0.2) << "silent blocks are gated out";
  EXPECT_LE(music::IntegratedLoudness({synth::silence(5)}), -70.0);
  EXPECT_LE(music::IntegratedLoudness({synth::silence(0.1)}), -70.0);
}

TEST(Loudness, WeighsLowRumbleLess)
{
  EXPECT_LT(music::IntegratedLoudness({sine(5, 40, 0.5)}), music::IntegratedLoudness({sine(5, 997, 0.5)}) - 3.0);
}

TEST(Music, TracksHaveDistinctNamesAndCharacters)
{
  const auto& tracks = music::Tracks();
  ASSERT_GE(tracks.size(), 3u);
  std::set<std::string> names;
  std::set<std::pair<int, int>> keys;
  for (const music::TrackSpec& spec : tracks)
  {
    names.insert(spec.name);
    keys.insert({spec.tonicMidi, int(spec.lead)});
    EXPECT_EQ(spec.verse.size(), 8u) << spec.name;
    EXPECT_EQ(spec.bridge.size(), 8u) << spec.name;
    EXPECT_EQ(spec.mode.size(), 7u) << spec.name;
  }
  EXPECT_EQ(names.size(), tracks.size());
  EXPECT_EQ(keys.size(), tracks.size()) << "each track has its own key and lead voice";
}

// The shortest track, mastered as the build does: long enough, at the loudness
// asked for, below the peak, silent at both ends and without clicks.
TEST(Music, MasteredTrackIsLongLevelAndClean)
{
  const auto& tracks = music::Tracks();
  const auto shortest = std::min_element(tracks.begin(), tracks.end(), [](const auto& a, const auto& b) {
    return a.form.size() * a.beatsPerBar / a.beatsPerMinute < b.form.size() * b.beatsPerBar / b.beatsPerMinute;
  });
  music::Stereo track = music::Compose(*shortest);
  music::Master(track, -16.0, 0.85);

  ASSERT_EQ(track.left.size(), track.right.size());
  EXPECT_GE(double(track.left.size()) / synth::SampleRate, 90.0);
  EXPECT_NEAR(music::IntegratedLoudness({track.left, track.right}), -16.0, 0.3);
  for (const synth::Signal* channel : {&track.left, &track.right})
  {
    double peak = 0, jump = 0;
    for (std::size_t i = 1; i < channel->size(); ++i)
    {
      peak = std::max(peak, std::fabs((*channel)[i]));
      jump = std::max(jump, std::fabs((*channel)[i] - (*channel)[i - 1]));
    }
    EXPECT_LE(peak, 0.85);
    EXPECT_GT(peak, 0.3);
    EXPECT_LT(jump, 0.25) << "no sample leaps like a click";
    EXPECT_LT(std::fabs(channel->front()), 1e-3);
    EXPECT_LT(std::fabs(channel->back()), 1e-3);
  }
  // Something plays in every part of the track: no silent stretch of two seconds.
  const std::size_t window = synth::samplesFor(2.0);
  for (std::size_t start = 0; start + window < track.left.size() - synth::samplesFor(3.0); start += window)
  {
    double energy = 0;
    for (std::size_t i = start; i < start + window; ++i)
      energy += track.left[i] * track.left[i];
    EXPECT_GT(energy / window, 1e-4) << "at " << start / synth::SampleRate << " s";
  }
}
