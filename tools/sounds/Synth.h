#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

/// A small deterministic synthesiser: mono signals of doubles at SampleRate,
/// built from oscillators and noise, shaped by envelopes and filters, mixed, and
/// written as 16-bit PCM WAV files. Frequency glides are exponential.
namespace synth
{
constexpr int SampleRate = 44100;
using Signal = std::vector<double>;

int samplesFor(double seconds);
Signal silence(double seconds);

/// A sine gliding from startHz to endHz over the signal.
Signal sine(double seconds, double startHz, double endHz);
/// White noise in [-1, 1]; the same seed gives the same noise.
Signal noise(double seconds, std::uint32_t seed);

struct Partial
{
  double hz;
  double gain;
  double decaySeconds;
};
/// Struck things: sine partials starting together and dying away at their own rates.
Signal partials(double seconds, std::initializer_list<Partial> list);
/// A plucked string (Karplus-Strong): noise circulating in a delay line of one period.
Signal pluck(double seconds, double hz, double sustain, std::uint32_t seed);

/// Linear rise over attackSeconds, then exponential decay with the time constant decaySeconds.
Signal decaying(Signal signal, double attackSeconds, double decaySeconds);
/// Any envelope: every sample is multiplied by gain(t), t in seconds.
Signal shaped(Signal signal, const std::function<double(double)>& gain);

/// Resonant filters (second order); the frequency glides from startHz to endHz.
Signal lowPass(Signal signal, double startHz, double endHz, double q = 0.707);
Signal highPass(Signal signal, double hz, double q = 0.707);
Signal bandPass(Signal signal, double startHz, double endHz, double q);

/// Adds source × gain into target starting atSeconds, growing target as needed.
void add(Signal& target, const Signal& source, double gain = 1.0, double atSeconds = 0);

enum class Ending
{
  FadeOut,
  Loop
};
/// Removes any DC offset, fades the edges (a loop keeps them, it must be seamless)
/// and scales the loudest sample to peak (0..1).
void finish(Signal& signal, double peak, Ending ending = Ending::FadeOut);

/// 16-bit PCM; several channels are interleaved and must be of the same length.
bool writeWave(const std::string& path, const std::vector<Signal>& channels);
bool writeWave(const std::string& path, const Signal& signal);
} // namespace synth
