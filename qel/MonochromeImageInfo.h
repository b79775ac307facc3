#pragma once

#include "qel/FrequencyMatrix.h"

#include <QString>

#include <complex>
#include <limits>
#include <list>
#include <memory>
#include <utility>
#include <vector>

namespace qel
{
/// The recognition signature of a picture: normalised frequency matrices on
/// several grids, at most one per size (except as read from a stream), in the
/// order they were added. Owns its matrices, so it cannot be copied.
class MonochromeImageInfo
{
public:
  MonochromeImageInfo();
  explicit MonochromeImageInfo(const QString& id);
  ~MonochromeImageInfo();
  MonochromeImageInfo(const MonochromeImageInfo&) = delete;
  MonochromeImageInfo& operator=(const MonochromeImageInfo&) = delete;
  MonochromeImageInfo(MonochromeImageInfo&&) = default;
  MonochromeImageInfo& operator=(MonochromeImageInfo&&) = default;

  /// A null string unless set.
  const QString& GetId() const { return m_id; }
  void SetId(const QString& id);

  /// Takes ownership of \a matrix (null is ignored); a matrix of the same size is
  /// deleted first, and the new one goes to the end of the list.
  void AddFrequencyMatrix(FrequencyMatrix* matrix);
  /// Adds a zero-filled matrix as above; the signature keeps owning it.
  FrequencyMatrix* AddFrequencyMatrix(FrequencyMatrix::Size size);
  FrequencyMatrix* AddFrequencyMatrix(int width, int height);

  /// The first matrix of that size, or null.
  const FrequencyMatrix* FindFrequencyMatrix(FrequencyMatrix::Size size) const;
  const FrequencyMatrix* FindFrequencyMatrix(int width, int height) const;
  std::list<FrequencyMatrix::Size> GetMatrixSizes() const;
  int GetMatrixCount() const { return static_cast<int>(m_matrices.size()); }
  /// \a index in [0, GetMatrixCount()), in list order.
  const FrequencyMatrix& GetMatrix(int index) const { return *m_matrices[index]; }

  /// Whether a matrix of that size was there (and is now deleted).
  bool RemoveFrequencyMatrix(FrequencyMatrix::Size size);
  bool RemoveFrequencyMatrix(int width, int height);
  void RemoveAllFrequencyMatrices();

private:
  friend QDataStream& operator>>(QDataStream& stream, MonochromeImageInfo& info);

  QString m_id;
  std::vector<std::unique_ptr<FrequencyMatrix>> m_matrices;
};

/// For each matrix of \a a in list order, the pair (it, the first matrix of \a b
/// of the same size) when \a b has one. The pointers stay valid as long as the
/// signatures and their matrices do.
std::list<std::pair<const FrequencyMatrix*, const FrequencyMatrix*>>
FindMatrixPairsOfCommonSize(const MonochromeImageInfo& a, const MonochromeImageInfo& b);

/// Returned by MonochromeImagesDifference when the signatures share no grid size.
inline constexpr double NoCommonGridDifference = 1e10;

/// How unlike the two signatures are (0 or more, at most NoCommonGridDifference):
/// the smallest chi-square-like distance over the grids they share. Differences
/// above \a limit are not worth knowing: when the difference exceeds \a limit,
/// some value above \a limit is returned instead, which is found sooner.
double MonochromeImagesDifference(const MonochromeImageInfo& a, const MonochromeImageInfo& b,
                                  double limit = std::numeric_limits<double>::infinity());

/// The squared distance of two values; provided for std::complex<double>.
template <typename T>
double DistanceSquared(const T& a, const T& b);
template <>
double DistanceSquared(const std::complex<double>& a, const std::complex<double>& b);
} // namespace qel
