#pragma once

#include "qel/FrequencyMatrix.h"

#include <cstddef>
#include <map>
#include <utility>
#include <vector>

namespace qel
{
class MonochromeImageInfo;

/// Single-precision copies of many signatures' grids that tell cheaply when a
/// signature is certainly more different from a picture than a bound: most
/// references of a database are, and comparing them in full would take most of
/// a classification. Grids of one size are packed one after the other in entry
/// order, so that screening every entry in turn reads memory in sequence and
/// only the sizes the picture has.
class SignatureScreen
{
public:
  /// A picture's signature, prepared to be screened against the entries of one
  /// screen, as long as no entry is added.
  class Probe
  {
  private:
    friend class SignatureScreen;
    struct Grid
    {
      std::vector<float> values;
      double absoluteSum;
    };
    std::vector<Grid> m_grids;
    /// For each size of the screen, the picture's grid of that size, or -1.
    std::vector<int> m_gridOfSize;
  };

  /// Appends a copy of \a signature's grids as the next entry.
  void Add(const MonochromeImageInfo& signature);
  void Clear();
  int GetCount() const { return static_cast<int>(m_entryGrids.size()) - 1; }

  Probe Prepare(const MonochromeImageInfo& picture) const;
  /// True only when MonochromeImagesDifference(entry, picture) is above \a bound
  /// for the entry added \a entry-th; false when the difference may be at most
  /// \a bound, or when single precision cannot tell.
  bool Exceeds(int entry, const Probe& picture, double bound) const;

private:
  struct Size
  {
    FrequencyMatrix::Size size;
    float floor; ///< the share of one cell
    std::vector<float> values;
  };
  struct Grid
  {
    int size; ///< index in m_sizes
    std::size_t offset; ///< of its first value in that size's values
    double absoluteSum;
  };
  std::vector<Size> m_sizes;
  /// (width, height) to index in m_sizes: a database may hold many sizes.
  std::map<std::pair<int, int>, int> m_sizeIndex;
  std::vector<Grid> m_grids;
  /// Entry i's grids are m_grids[m_entryGrids[i]] up to m_grids[m_entryGrids[i + 1]].
  std::vector<std::size_t> m_entryGrids{0};
};
} // namespace qel
