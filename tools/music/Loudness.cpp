#include "Loudness.h"

#include <cmath>

namespace music
{
namespace
{
constexpr double Pi = 3.14159265358979323846;

struct Biquad
{
  double b0, b1, b2, a1, a2;

  synth::Signal apply(const synth::Signal& in) const
  {
    synth::Signal out(in.size());
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    for (std::size_t i = 0; i < in.size(); ++i)
    {
      const double y = b0 * in[i] + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
      x2 = x1, x1 = in[i], y2 = y1, y1 = y;
      out[i] = y;
    }
    return out;
  }
};

// The two stages of the K-weighting filter, derived for any sample rate from the
// analogue prototypes behind the 48 kHz coefficients of the recommendation.
Biquad headShelf()
{
  const double k = std::tan(Pi * 1681.974450955533 / synth::SampleRate);
  const double q = 0.7071752369554196;
  const double vh = std::pow(10.0, 3.999843853973347 / 20.0);
  const double vb = std::pow(vh, 0.4996667741545416);
  const double a0 = 1.0 + k / q + k * k;
  return {(vh + vb * k / q + k * k) / a0, 2.0 * (k * k - vh) / a0, (vh - vb * k / q + k * k) / a0,
          2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
}

Biquad lowCut()
{
  const double k = std::tan(Pi * 38.13547087602444 / synth::SampleRate);
  const double q = 0.5003270373238773;
  const double a0 = 1.0 + k / q + k * k;
  return {1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
}

double blockLoudness(double meanSquare) { return -0.691 + 10.0 * std::log10(meanSquare); }
} // namespace

double IntegratedLoudness(const std::vector<synth::Signal>& channels)
{
  const std::size_t block = static_cast<std::size_t>(0.4 * synth::SampleRate);
  const std::size_t hop = block / 4;
  if (channels.empty() || channels.front().size() < block)
    return -70.0;

  std::vector<synth::Signal> weighted;
  for (const synth::Signal& channel : channels)
    weighted.push_back(lowCut().apply(headShelf().apply(channel)));

  // Sum over the channels of each block's mean square.
  std::vector<double> blocks;
  for (std::size_t start = 0; start + block <= weighted.front().size(); start += hop)
  {
    double sum = 0;
    for (const synth::Signal& channel : weighted)
    {
      double squares = 0;
      for (std::size_t i = start; i < start + block; ++i)
        squares += channel[i] * channel[i];
      sum += squares / block;
    }
    blocks.push_back(sum);
  }

  const auto gatedMean = [&blocks](double threshold) {
    double sum = 0;
    int count = 0;
    for (double z : blocks)
      if (z > 0 && blockLoudness(z) > threshold)
        sum += z, ++count;
    return count ? sum / count : 0.0;
  };
  const double absolute = gatedMean(-70.0);
  if (absolute <= 0)
    return -70.0;
  const double relative = gatedMean(blockLoudness(absolute) - 10.0);
  return relative > 0 ? blockLoudness(relative) : -70.0;
}
} // namespace music
