#pragma once

#include <vector>

class QDataStream;
class QString;

namespace qel
{
/// A grid of values, stored row-major: column c, row r is element c + r * width.
class FrequencyMatrix
{
public:
  struct Size
  {
    int width = 0;  ///< columns
    int height = 0; ///< rows

    bool operator==(const Size& other) const { return width == other.width && height == other.height; }
    bool operator!=(const Size& other) const { return !(*this == other); }
  };

  /// 0 x 0, no values.
  FrequencyMatrix() = default;
  /// width x height values of 0.0; width and height must not be negative.
  explicit FrequencyMatrix(Size size);
  FrequencyMatrix(int width, int height);

  Size GetSize() const { return m_size; }
  /// Throws OutOfRange outside the grid.
  double GetValue(int column, int row) const;
  /// Throws OutOfRange outside the grid, leaving the matrix unchanged.
  void SetValue(int column, int row, double value);
  /// Always width x height values, in storage order.
  const std::vector<double>& GetValues() const { return m_values; }

  /// Sets every value to 0.0.
  void Reset();
  void operator*=(double factor);
  void operator/=(double divisor);

  /// Equal sizes and values; a NaN value never matches.
  bool operator==(const FrequencyMatrix& other) const;
  bool operator!=(const FrequencyMatrix& other) const;

  /// Debugging view: a PNG with one cellSize x cellSize square per value, the
  /// larger values darker.
  void SaveAsImage(const QString& fileName, int cellSize) const;

private:
  int index(int column, int row) const;

  friend QDataStream& operator>>(QDataStream& stream, FrequencyMatrix& matrix);

  Size m_size;
  std::vector<double> m_values;
};
} // namespace qel
