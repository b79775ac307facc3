#pragma once

#include <QtGlobal>

/// A small deterministic generator (splitmix64): the same seed gives the same
/// numbers on every machine and with every standard library, which keeps the
/// generated references byte for byte reproducible.
class Random
{
public:
  explicit Random(quint64 seed) : m_state(seed) {}

  quint64 Next()
  {
    quint64 z = (m_state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  /// Uniform in [low, high).
  double Uniform(double low, double high)
  {
    return low + (high - low) * static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0);
  }

  bool Chance(double probability) { return Uniform(0.0, 1.0) < probability; }

  /// Uniform in [low, high], both inclusive.
  int Between(int low, int high) { return low + static_cast<int>(Next() % static_cast<quint64>(high - low + 1)); }

  /// -1 or 1.
  int Sign() { return Chance(0.5) ? 1 : -1; }

private:
  quint64 m_state;
};
