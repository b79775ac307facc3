#include "qel/MonochromeImagesDB.h"

#include "qel/MonochromeImageInfo.h"
#include "qel/MonochromeImageInfoExtractor.h"
#include "qel/Serialization.h"

#include <QDataStream>
#include <QFile>
#include <QImage>
#include <QLoggingCategory>

#include <algorithm>
#include <cmath>

namespace qel
{
namespace
{
Q_LOGGING_CATEGORY(lcQel, "bv.qel")

/// Entries compared in full to find a first bound for a classification.
constexpr size_t BoundSamples = 32;

// A grid without cells has no share of a cell to compare with, and a value
// that is not finite makes every difference NaN.
bool isUsable(const MonochromeImageInfo& entry)
{
  for (int i = 0; i < entry.GetMatrixCount(); ++i)
  {
    const FrequencyMatrix& matrix = entry.GetMatrix(i);
    const std::vector<double>& values = matrix.GetValues();
    if (values.empty() || !std::all_of(values.begin(), values.end(), [](double value) { return std::isfinite(value); }))
      return false;
  }
  return true;
}
} // namespace

MonochromeImagesDB::MonochromeImagesDB() = default;

MonochromeImagesDB::~MonochromeImagesDB() = default;

bool MonochromeImagesDB::Load(const QString& fileName)
{
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly))
  {
    qCWarning(lcQel) << "Cannot open the images DB" << fileName << ":" << file.errorString();
    return false;
  }
  QDataStream stream(&file);
  std::vector<std::unique_ptr<MonochromeImageInfo>> entries;
  while (!stream.atEnd())
  {
    const qint64 offset = file.pos();
    auto entry = std::make_unique<MonochromeImageInfo>();
    stream >> *entry;
    if (stream.status() == QDataStream::Ok && !isUsable(*entry))
      stream.setStatus(QDataStream::ReadCorruptData);
    if (stream.status() != QDataStream::Ok)
    {
      // A game with the references before the damage still recognises most drawings.
      qCWarning(lcQel) << "The images DB" << fileName << "is"
                       << (stream.status() == QDataStream::ReadPastEnd ? "cut short" : "corrupt") << "in record"
                       << entries.size() << "starting at byte" << offset << "; the" << entries.size()
                       << "records before it are loaded";
      break;
    }
    entries.push_back(std::move(entry));
  }
  m_entries = std::move(entries);
  m_screen.Clear();
  for (const auto& entry : m_entries)
    m_screen.Add(*entry);
  return true;
}

bool MonochromeImagesDB::Save(const QString& fileName) const
{
  QFile file(fileName);
  if (!file.open(QIODevice::WriteOnly))
  {
    qCWarning(lcQel) << "Cannot create the images DB" << fileName << ":" << file.errorString();
    return false;
  }
  QDataStream stream(&file);
  for (const auto& entry : m_entries)
    stream << *entry;
  if (stream.status() != QDataStream::Ok || !file.flush())
  {
    qCWarning(lcQel) << "Cannot write the images DB" << fileName << ":" << file.errorString();
    return false;
  }
  return true;
}

void MonochromeImagesDB::Append(MonochromeImageInfo* info)
{
  if (!info)
    return;
  m_entries.emplace_back(info);
  m_screen.Add(*info);
}

QString MonochromeImagesDB::ClassifyImage(const QImage& image, double threshold) const
{
  const std::unique_ptr<MonochromeImageInfo> signature(CalculateMonochromeImageInfo(image));
  if (!signature)
    return QString();
  const SignatureScreen::Probe probe = m_screen.Prepare(*signature);
  // The lower the bound, the more entries the screen rules out at once. So the
  // bound starts at the best of a few entries spread over the database: a
  // difference that some entry reaches, so that no entry at or below the
  // smallest one is ruled out, and the last of those still wins.
  double best = threshold;
  const size_t stride = std::max<size_t>(1, m_entries.size() / BoundSamples);
  for (size_t i = stride / 2; i < m_entries.size(); i += stride)
    best = std::min(best, MonochromeImagesDifference(*m_entries[i], *signature, best));
  QString result;
  for (size_t i = 0; i < m_entries.size(); ++i)
  {
    // Differences above the best so far are of no interest.
    if (m_screen.Exceeds(static_cast<int>(i), probe, best))
      continue;
    const double difference = MonochromeImagesDifference(*m_entries[i], *signature, best);
    if (difference <= best)
    {
      result = m_entries[i]->GetId();
      best = difference;
    }
  }
  return result;
}

std::multimap<double, QString> MonochromeImagesDB::CalculateImageDifferences(const QImage& image) const
{
  std::multimap<double, QString> differences;
  const std::unique_ptr<MonochromeImageInfo> signature(CalculateMonochromeImageInfo(image));
  if (!signature)
    return differences;
  for (const auto& entry : m_entries)
    differences.emplace(MonochromeImagesDifference(*entry, *signature), entry->GetId());
  return differences;
}
} // namespace qel
