#include "Synth.h"

#include <algorithm>
#include <cmath>
#include <fstream>

namespace synth
{
namespace
{
constexpr double Pi = 3.14159265358979323846;

double glide(double startHz, double endHz, double fraction) { return startHz * std::pow(endHz / startHz, fraction); }

// Robert Bristow-Johnson's biquads, recomputed as the frequency glides.
enum class Response
{
  LowPass,
  HighPass,
  BandPass
};

Signal biquad(Signal signal, Response response, double startHz, double endHz, double q)
{
  double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  double b0 = 0, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
  const double size = static_cast<double>(signal.size());
  for (std::size_t i = 0; i < signal.size(); ++i)
  {
    if (i % 32 == 0)
    {
      const double hz = std::min(glide(startHz, endHz, i / size), 0.45 * SampleRate);
      const double w = 2 * Pi * hz / SampleRate;
      const double alpha = std::sin(w) / (2 * q);
      const double c = std::cos(w);
      const double a0 = 1 + alpha;
      switch (response)
      {
      case Response::LowPass: b0 = (1 - c) / 2, b1 = 1 - c, b2 = (1 - c) / 2; break;
      case Response::HighPass: b0 = (1 + c) / 2, b1 = -(1 + c), b2 = (1 + c) / 2; break;
      case Response::BandPass: b0 = alpha, b1 = 0, b2 = -alpha; break;
      }
      b0 /= a0, b1 /= a0, b2 /= a0;
      a1 = -2 * c / a0;
      a2 = (1 - alpha) / a0;
    }
    const double x = signal[i];
    const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1, x1 = x, y2 = y1, y1 = y;
    signal[i] = y;
  }
  return signal;
}

// A small xorshift generator: the same numbers on every platform.
class Random
{
public:
  explicit Random(std::uint32_t seed) : m_state(seed ? seed : 1) {}
  double next()
  {
    m_state ^= m_state << 13;
    m_state ^= m_state >> 17;
    m_state ^= m_state << 5;
    return m_state / 2147483647.5 - 1.0;
  }

private:
  std::uint32_t m_state;
};
} // namespace

int samplesFor(double seconds) { return static_cast<int>(std::lround(seconds * SampleRate)); }

Signal silence(double seconds) { return Signal(samplesFor(seconds), 0.0); }

Signal sine(double seconds, double startHz, double endHz)
{
  Signal signal = silence(seconds);
  double phase = 0;
  for (std::size_t i = 0; i < signal.size(); ++i)
  {
    signal[i] = std::sin(phase);
    phase += 2 * Pi * glide(startHz, endHz, static_cast<double>(i) / signal.size()) / SampleRate;
  }
  return signal;
}

Signal noise(double seconds, std::uint32_t seed)
{
  Random random(seed);
  Signal signal = silence(seconds);
  for (double& sample : signal)
    sample = random.next();
  return signal;
}

Signal partials(double seconds, std::initializer_list<Partial> list)
{
  Signal signal = silence(seconds);
  for (const Partial& partial : list)
    add(signal, decaying(sine(seconds, partial.hz, partial.hz), 0.001, partial.decaySeconds), partial.gain);
  return signal;
}

Signal pluck(double seconds, double hz, double sustain, std::uint32_t seed)
{
  Random random(seed);
  std::vector<double> line(static_cast<std::size_t>(std::lround(SampleRate / hz)));
  for (double& sample : line)
    sample = random.next();
  Signal signal = silence(seconds);
  for (std::size_t i = 0; i < signal.size(); ++i)
  {
    const std::size_t at = i % line.size();
    const double next = line[(at + 1) % line.size()];
    signal[i] = line[at];
    line[at] = sustain * 0.5 * (line[at] + next);
  }
  return signal;
}

Signal decaying(Signal signal, double attackSeconds, double decaySeconds)
{
  return shaped(std::move(signal), [=](double t) {
    return t < attackSeconds ? t / attackSeconds : std::exp(-(t - attackSeconds) / decaySeconds);
  });
}

Signal shaped(Signal signal, const std::function<double(double)>& gain)
{
  for (std::size_t i = 0; i < signal.size(); ++i)
    signal[i] *= gain(static_cast<double>(i) / SampleRate);
  return signal;
}

Signal lowPass(Signal signal, double startHz, double endHz, double q)
{
  return biquad(std::move(signal), Response::LowPass, startHz, endHz, q);
}

Signal highPass(Signal signal, double hz, double q) { return biquad(std::move(signal), Response::HighPass, hz, hz, q); }

Signal bandPass(Signal signal, double startHz, double endHz, double q)
{
  return biquad(std::move(signal), Response::BandPass, startHz, endHz, q);
}

void add(Signal& target, const Signal& source, double gain, double atSeconds)
{
  const std::size_t offset = samplesFor(atSeconds);
  if (target.size() < offset + source.size())
    target.resize(offset + source.size(), 0.0);
  for (std::size_t i = 0; i < source.size(); ++i)
    target[offset + i] += gain * source[i];
}

void finish(Signal& signal, double peak, Ending ending)
{
  if (signal.empty())
    return;
  if (ending == Ending::FadeOut)
  {
    // Rumble below hearing only costs headroom.
    signal = highPass(std::move(signal), 25);
    const std::size_t fadeIn = std::min<std::size_t>(samplesFor(0.001), signal.size());
    const std::size_t fadeOut = std::min<std::size_t>(samplesFor(0.015), signal.size());
    for (std::size_t i = 0; i < fadeIn; ++i)
      signal[i] *= static_cast<double>(i) / fadeIn;
    for (std::size_t i = 0; i < fadeOut; ++i)
      signal[signal.size() - 1 - i] *= static_cast<double>(i) / fadeOut;
  }
  double mean = 0;
  for (double sample : signal)
    mean += sample;
  mean /= static_cast<double>(signal.size());
  double loudest = 0;
  for (double& sample : signal)
  {
    sample -= mean;
    loudest = std::max(loudest, std::fabs(sample));
  }
  if (loudest > 0)
    for (double& sample : signal)
      sample *= peak / loudest;
}

bool writeWave(const std::string& path, const std::vector<Signal>& channels)
{
  if (channels.empty())
    return false;
  const std::size_t frames = channels.front().size();
  for (const Signal& channel : channels)
    if (channel.size() != frames)
      return false;
  std::ofstream file(path, std::ios::binary);
  auto put = [&file](std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
      file.put(static_cast<char>((value >> (8 * i)) & 0xFF));
  };
  const std::uint32_t count = static_cast<std::uint32_t>(channels.size());
  const std::uint32_t dataSize = static_cast<std::uint32_t>(frames * count * 2);
  file.write("RIFF", 4);
  put(36 + dataSize, 4);
  file.write("WAVEfmt ", 8);
  put(16, 4);
  put(1, 2); // PCM
  put(count, 2);
  put(SampleRate, 4);
  put(SampleRate * 2 * count, 4);
  put(2 * count, 2);
  put(16, 2);
  file.write("data", 4);
  put(dataSize, 4);
  for (std::size_t i = 0; i < frames; ++i)
    for (const Signal& channel : channels)
    {
      const long value = std::lround(std::clamp(channel[i], -1.0, 1.0) * 32767);
      put(static_cast<std::uint32_t>(value) & 0xFFFF, 2);
    }
  return static_cast<bool>(file);
}

bool writeWave(const std::string& path, const Signal& signal) { return writeWave(path, std::vector<Signal>{signal}); }
} // namespace synth
