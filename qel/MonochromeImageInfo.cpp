#include "qel/MonochromeImageInfo.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qel
{
MonochromeImageInfo::MonochromeImageInfo() = default;

MonochromeImageInfo::MonochromeImageInfo(const QString& id)
  : m_id(id)
{
}

MonochromeImageInfo::~MonochromeImageInfo() = default;

void MonochromeImageInfo::SetId(const QString& id)
{
  m_id = id;
}

void MonochromeImageInfo::AddFrequencyMatrix(FrequencyMatrix* matrix)
{
  if (!matrix)
    return;
  std::unique_ptr<FrequencyMatrix> owned(matrix);
  RemoveFrequencyMatrix(owned->GetSize());
  m_matrices.push_back(std::move(owned));
}

FrequencyMatrix* MonochromeImageInfo::AddFrequencyMatrix(FrequencyMatrix::Size size)
{
  auto* matrix = new FrequencyMatrix(size);
  AddFrequencyMatrix(matrix);
  return matrix;
}

FrequencyMatrix* MonochromeImageInfo::AddFrequencyMatrix(int width, int height)
{
  return AddFrequencyMatrix(FrequencyMatrix::Size{width, height});
}

const FrequencyMatrix* MonochromeImageInfo::FindFrequencyMatrix(FrequencyMatrix::Size size) const
{
  for (const auto& matrix : m_matrices)
  {
    if (matrix->GetSize() == size)
      return matrix.get();
  }
  return nullptr;
}

const FrequencyMatrix* MonochromeImageInfo::FindFrequencyMatrix(int width, int height) const
{
  return FindFrequencyMatrix(FrequencyMatrix::Size{width, height});
}

std::list<FrequencyMatrix::Size> MonochromeImageInfo::GetMatrixSizes() const
{
  std::list<FrequencyMatrix::Size> sizes;
  for (const auto& matrix : m_matrices)
    sizes.push_back(matrix->GetSize());
  return sizes;
}

bool MonochromeImageInfo::RemoveFrequencyMatrix(FrequencyMatrix::Size size)
{
  const auto found = std::find_if(m_matrices.begin(), m_matrices.end(),
                                  [size](const auto& matrix) { return matrix->GetSize() == size; });
  if (found == m_matrices.end())
    return false;
  m_matrices.erase(found);
  return true;
}

bool MonochromeImageInfo::RemoveFrequencyMatrix(int width, int height)
{
  return RemoveFrequencyMatrix(FrequencyMatrix::Size{width, height});
}

void MonochromeImageInfo::RemoveAllFrequencyMatrices()
{
  m_matrices.clear();
}

std::list<std::pair<const FrequencyMatrix*, const FrequencyMatrix*>>
FindMatrixPairsOfCommonSize(const MonochromeImageInfo& a, const MonochromeImageInfo& b)
{
  std::list<std::pair<const FrequencyMatrix*, const FrequencyMatrix*>> pairs;
  for (int i = 0; i < a.GetMatrixCount(); ++i)
  {
    const FrequencyMatrix& matrix = a.GetMatrix(i);
    if (const FrequencyMatrix* other = b.FindFrequencyMatrix(matrix.GetSize()))
      pairs.emplace_back(&matrix, other);
  }
  return pairs;
}

namespace
{
// One cell's share of the difference: (p - q)^2 / max(floor, |p| + |q|), where
// floor is the share of one cell. Never negative.
inline double cellTerm(double p, double q, double floor)
{
  const double delta = p - q;
  return delta * delta / std::max(floor, std::abs(p) + std::abs(q));
}

// The sum of the cell terms in storage order. The terms are never negative, so
// the running sum only grows: once it exceeds bound the rest cannot bring it
// back, and a partial sum above bound is returned instead. A NaN term makes the
// sum NaN, which never passes a bound. Matrices of equal size hold equally many
// values.
//
// Adding the terms one after the other is slow, as every addition waits for the
// previous one, and most comparisons end above the bound. So a first pass adds
// them in independent lanes, which the processor overlaps, and gives up as soon
// as that sum is above the bound by more than the rounding of either order of
// summation could account for (each is within n * epsilon / 2 of the exact sum
// of n terms, and a prefix of the terms bounds the whole from below). Only the
// comparisons it cannot settle are summed in storage order.
double matrixDifference(const FrequencyMatrix& p, const FrequencyMatrix& q, double bound)
{
  const std::vector<double>& pValues = p.GetValues();
  const std::vector<double>& qValues = q.GetValues();
  const size_t count = pValues.size();
  const FrequencyMatrix::Size size = p.GetSize();
  const double floor = 1.0 / (static_cast<double>(size.width) * static_cast<double>(size.height));

  constexpr size_t Lanes = 8;
  constexpr size_t Block = 2 * Lanes;
  const double clearBound = bound * (1.0 + 4.0 * static_cast<double>(count) * std::numeric_limits<double>::epsilon());
  double lanes[Lanes] = {};
  for (size_t start = 0; start + Block <= count; start += Block)
  {
    for (size_t k = start; k < start + Block; k += Lanes)
    {
      for (size_t lane = 0; lane < Lanes; ++lane)
        lanes[lane] += cellTerm(pValues[k + lane], qValues[k + lane], floor);
    }
    const double partial =
      ((lanes[0] + lanes[1]) + (lanes[2] + lanes[3])) + ((lanes[4] + lanes[5]) + (lanes[6] + lanes[7]));
    if (partial > clearBound)
      return partial;
  }

  double sum = 0.0;
  for (size_t k = 0; k < count; ++k)
  {
    sum += cellTerm(pValues[k], qValues[k], floor);
    if (sum > bound)
      break;
  }
  return sum;
}
} // namespace

double MonochromeImagesDifference(const MonochromeImageInfo& a, const MonochromeImageInfo& b, double limit)
{
  if (&a == &b)
    return 0.0;
  // The pairs of FindMatrixPairsOfCommonSize, without building the list.
  double result = NoCommonGridDifference;
  for (int i = 0; i < a.GetMatrixCount(); ++i)
  {
    const FrequencyMatrix& p = a.GetMatrix(i);
    if (const FrequencyMatrix* q = b.FindFrequencyMatrix(p.GetSize()))
    {
      const double sum = matrixDifference(p, *q, std::min(result, limit));
      if (sum < result)
        result = sum;
    }
  }
  return result;
}

template <>
double DistanceSquared(const std::complex<double>& a, const std::complex<double>& b)
{
  const std::complex<double> delta = a - b;
  return delta.real() * delta.real() + delta.imag() * delta.imag();
}
} // namespace qel
