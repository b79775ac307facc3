// Feeds arbitrary bytes to MonochromeImagesDB::Load as the images DB file.
// Whatever loads must classify sanely and save back to the bytes it came from:
// the whole input, or the complete records before a damaged one.

#include "qel/MonochromeImagesDB.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLoggingCategory>
#include <QPainter>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace
{
QString scratchPath(const char* name)
{
  return QDir::temp().filePath(QStringLiteral("fuzz_images_db_%1_%2").arg(QCoreApplication::applicationPid()).arg(name));
}

QImage drawing()
{
  QImage image(60, 60, QImage::Format_ARGB32);
  image.fill(0xFFFFFFFF);
  QPainter painter(&image);
  painter.setPen(QPen(Qt::black, 3));
  painter.drawEllipse(10, 10, 40, 35);
  painter.drawLine(5, 55, 55, 5);
  return image;
}

QByteArray readAll(const QString& fileName)
{
  QFile file(fileName);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
  // Every refused input would log why.
  QLoggingCategory::setFilterRules(QStringLiteral("bv.qel.warning=false"));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  static const QString input = scratchPath("input.db");
  static const QString output = scratchPath("output.db");
  static const QImage picture = drawing();
  {
    QFile file(input);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) != static_cast<qint64>(size))
      std::abort();
  }

  qel::MonochromeImagesDB db;
  if (!db.Load(input))
    return 0;
  for (const auto& [difference, id] : db.CalculateImageDifferences(picture))
  {
    if (!(difference >= 0 && difference <= 1e10))
      std::abort();
  }
  db.ClassifyImage(picture, 1.5);
  if (!db.Save(output) || !QByteArray::fromRawData(reinterpret_cast<const char*>(data), int(size)).startsWith(readAll(output)))
    std::abort();
  return 0;
}
