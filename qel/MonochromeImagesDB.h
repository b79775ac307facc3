#pragma once

#include "qel/SignatureScreen.h"

#include <QString>

#include <map>
#include <memory>
#include <vector>

class QImage;

namespace qel
{
class MonochromeImageInfo;

/// Reference signatures, each named by its id, that classify pictures. Owns its
/// entries; their order decides ties.
class MonochromeImagesDB
{
public:
  MonochromeImagesDB();
  ~MonochromeImagesDB();
  MonochromeImagesDB(const MonochromeImagesDB&) = delete;
  MonochromeImagesDB& operator=(const MonochromeImagesDB&) = delete;

  /// Replaces the entries by the file's signatures. A record that is cut
  /// short or damaged (a negative count or size, an empty grid, a value that is
  /// infinite or NaN) ends the reading: the complete records before it are
  /// loaded and a warning names the file and the record. False, with the
  /// entries unchanged and the reason logged, only when the file cannot be opened.
  bool Load(const QString& fileName);
  /// Writes the entries in order; false when the file cannot be written.
  bool Save(const QString& fileName) const;

  /// Takes ownership of \a info and appends it; null is ignored. The entry must
  /// not change afterwards.
  void Append(MonochromeImageInfo* info);
  int GetCount() const { return static_cast<int>(m_entries.size()); }
  /// \a index in [0, GetCount()).
  const MonochromeImageInfo& GetEntry(int index) const { return *m_entries[index]; }

  /// The id of the entry most like \a image whose difference is at most
  /// \a threshold (the last such entry on a tie); a null string when there is none
  /// or the picture has no signature.
  QString ClassifyImage(const QImage& image, double threshold) const;
  /// The difference of every entry to \a image, with its id, nearest first (equal
  /// differences in entry order); empty when the picture has no signature.
  std::multimap<double, QString> CalculateImageDifferences(const QImage& image) const;

private:
  std::vector<std::unique_ptr<MonochromeImageInfo>> m_entries;
  /// The entries again, to rule most of them out of a classification quickly.
  SignatureScreen m_screen;
};
} // namespace qel
