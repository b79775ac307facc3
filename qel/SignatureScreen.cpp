#include "qel/SignatureScreen.h"

#include "qel/MonochromeImageInfo.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace qel
{
namespace
{
double absoluteSum(const std::vector<double>& values)
{
  double sum = 0.0;
  for (const double value : values)
    sum += std::abs(value);
  return sum;
}

constexpr double FloatRoundoff = 0x1p-24;

/// Whether the difference of two grids of \a count values, as MonochromeImagesDifference
/// sums it in double precision, is certainly above \a bound. The cell terms
/// (p - q)^2 / max(floor, |p| + |q|) are computed in single precision and added
/// in four lanes, checking the bound after every block of cells: the sum of a
/// prefix of the terms bounds the whole, as no term is negative.
///
/// With u the unit roundoff of float, converting the values, computing the
/// terms and adding them make the sum at most (count + 7) u larger, relatively,
/// than the exact sum of the terms, plus 2u sum |p - q|, at most 2u times the
/// sum of the absolute values, plus less than 2^-147 a cell where values are
/// subnormal floats; the sum in double precision is far closer to the exact
/// one. Taking twice those margins off leaves a lower bound. A value beyond a
/// float's range makes the sum infinite or NaN, which decides nothing.
bool gridExceeds(const float* p, const float* q, size_t count, float floor, double absoluteSums, double bound)
{
  const double scale = 1.0 - 4.0 * (static_cast<double>(count) + 8.0) * FloatRoundoff;
  const double slack = 4.0 * FloatRoundoff * absoluteSums + static_cast<double>(count) * 0x1p-140;
  // Four lanes of single-precision terms, the width of one vector register.
  typedef float Lanes __attribute__((vector_size(16)));
  constexpr size_t Width = 4;
  constexpr size_t Block = 8 * Width;
  const Lanes floors = {floor, floor, floor, floor};
  Lanes sums = {};
  for (size_t start = 0; start + Block <= count; start += Block)
  {
    for (size_t k = start; k < start + Block; k += Width)
    {
      Lanes pk, qk;
      std::memcpy(&pk, p + k, sizeof pk);
      std::memcpy(&qk, q + k, sizeof qk);
      const Lanes delta = pk - qk;
      const Lanes total = (pk < 0 ? -pk : pk) + (qk < 0 ? -qk : qk);
      sums += delta * delta / (total > floors ? total : floors);
    }
    const float partial = (sums[0] + sums[1]) + (sums[2] + sums[3]);
    if (!std::isfinite(partial))
      return false;
    if (partial * scale - slack > bound)
      return true;
  }
  return false;
}
} // namespace

void SignatureScreen::Add(const MonochromeImageInfo& signature)
{
  for (int i = 0; i < signature.GetMatrixCount(); ++i)
  {
    const FrequencyMatrix& matrix = signature.GetMatrix(i);
    const FrequencyMatrix::Size grid = matrix.GetSize();
    const auto known = m_sizeIndex.emplace(std::make_pair(grid.width, grid.height), static_cast<int>(m_sizes.size()));
    if (known.second)
    {
      const double floor = 1.0 / (static_cast<double>(grid.width) * static_cast<double>(grid.height));
      m_sizes.push_back(Size{grid, static_cast<float>(floor), {}});
    }
    const int index = known.first->second;
    Size& size = m_sizes[index];
    const std::vector<double>& values = matrix.GetValues();
    m_grids.push_back({index, size.values.size(), absoluteSum(values)});
    size.values.insert(size.values.end(), values.begin(), values.end());
  }
  m_entryGrids.push_back(m_grids.size());
}

void SignatureScreen::Clear()
{
  m_sizes.clear();
  m_sizeIndex.clear();
  m_grids.clear();
  m_entryGrids.assign(1, 0);
}

SignatureScreen::Probe SignatureScreen::Prepare(const MonochromeImageInfo& picture) const
{
  Probe probe;
  probe.m_gridOfSize.assign(m_sizes.size(), -1);
  for (int i = 0; i < picture.GetMatrixCount(); ++i)
  {
    const FrequencyMatrix& matrix = picture.GetMatrix(i);
    const std::vector<double>& values = matrix.GetValues();
    probe.m_grids.push_back({std::vector<float>(values.begin(), values.end()), absoluteSum(values)});
    const auto size = m_sizeIndex.find(std::make_pair(matrix.GetSize().width, matrix.GetSize().height));
    // As FindFrequencyMatrix: the first grid of a size is the one compared.
    if (size != m_sizeIndex.end() && probe.m_gridOfSize[size->second] < 0)
      probe.m_gridOfSize[size->second] = i;
  }
  return probe;
}

bool SignatureScreen::Exceeds(int entry, const Probe& picture, double bound) const
{
  // As in MonochromeImagesDifference: the smallest difference over the grids of
  // the entry that the picture has too, and NoCommonGridDifference at most.
  if (NoCommonGridDifference <= bound)
    return false;
  for (size_t g = m_entryGrids[entry]; g < m_entryGrids[entry + 1]; ++g)
  {
    const Grid& grid = m_grids[g];
    const int other = picture.m_gridOfSize[grid.size];
    if (other < 0)
      continue;
    const Size& size = m_sizes[grid.size];
    const Probe::Grid& otherGrid = picture.m_grids[other];
    if (!gridExceeds(&size.values[grid.offset], otherGrid.values.data(), otherGrid.values.size(), size.floor,
                     grid.absoluteSum + otherGrid.absoluteSum, bound))
      return false;
  }
  return true;
}
} // namespace qel
