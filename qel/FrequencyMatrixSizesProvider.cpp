#include "qel/FrequencyMatrixSizesProvider.h"

#include "qel/Stretchness.h"

#include <algorithm>

namespace qel
{
namespace
{
class BasicProvider : public FrequencyMatrixSizesProvider
{
public:
  BasicProvider(int baseSize, int step, int minimalSize, double tolerance);

  std::list<FrequencyMatrix::Size> Run(int width, int height) const override;

private:
  struct Entry
  {
    FrequencyMatrix::Size size;
    double stretchness;
  };

  static Entry makeEntry(int width, int height);

  double m_tolerance;
  std::list<Entry> m_table; // ascending stretchness
};

BasicProvider::BasicProvider(int baseSize, int step, int minimalSize, double tolerance)
  : m_tolerance(tolerance)
{
  m_table.push_back(makeEntry(baseSize, baseSize));
  // A grid needs at least one cell in each direction, and a step that does not
  // shrink the grids would never reach the minimal size.
  minimalSize = std::max(minimalSize, 1);
  if (step <= 0)
    return;
  for (int width = baseSize - step, height = baseSize + step; width >= minimalSize; width -= step, height += step)
    m_table.push_front(makeEntry(width, height));
  if (baseSize - step < minimalSize)
    return;
  for (int width = baseSize + step, height = baseSize - step; height >= minimalSize; width += step, height -= step)
    m_table.push_back(makeEntry(width, height));
}

BasicProvider::Entry BasicProvider::makeEntry(int width, int height)
{
  const FrequencyMatrix::Size size{width, height};
  return Entry{size, CalculateStretchness(size)};
}

std::list<FrequencyMatrix::Size> BasicProvider::Run(int width, int height) const
{
  const double stretchness = CalculateStretchness(width, height);
  const double half = 0.5 * m_tolerance;
  std::list<FrequencyMatrix::Size> sizes;
  for (const Entry& entry : m_table)
  {
    if (stretchness - half <= entry.stretchness && entry.stretchness <= stretchness + half)
      sizes.push_back(entry.size);
  }
  return sizes;
}

class DummyProvider : public FrequencyMatrixSizesProvider
{
public:
  std::list<FrequencyMatrix::Size> Run(int, int) const override { return {}; }
};
} // namespace

FrequencyMatrixSizesProvider* FrequencyMatrixSizesProvider::Create(int baseSize, int step, int minimalSize,
                                                                   double tolerance)
{
  return new BasicProvider(baseSize, step, minimalSize, tolerance);
}

FrequencyMatrixSizesProvider* FrequencyMatrixSizesProvider::CreateDummy()
{
  return new DummyProvider();
}
} // namespace qel
