#pragma once

#include "qel/FrequencyMatrix.h"

#include <list>

namespace qel
{
/// Decides on which grids a picture of a given pixel size is described.
class FrequencyMatrixSizesProvider
{
public:
  virtual std::list<FrequencyMatrix::Size> Run(int width, int height) const = 0;
  virtual ~FrequencyMatrixSizesProvider() = default;

  /// Grids baseSize x baseSize, (baseSize - step) x (baseSize + step), ... down
  /// to a side of minimalSize (at least 1), in both directions; Run selects those
  /// whose stretchness lies within tolerance / 2 of the picture's, in ascending
  /// order of stretchness. A step of 0 or less gives the square grid alone.
  /// The caller owns the result.
  static FrequencyMatrixSizesProvider* Create(int baseSize, int step, int minimalSize, double tolerance);
  /// Run always returns no sizes. The caller owns the result.
  static FrequencyMatrixSizesProvider* CreateDummy();
};
} // namespace qel
