// Feeds arbitrary bytes to Level::Load as a level file, in a level directory
// that holds the pictures such a file names, so that every reading path runs.

#include "world/Level.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QLoggingCategory>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace
{
QTemporaryDir* directory = nullptr;
Level* level = nullptr;
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
  // The music path comes from the application's directory.
  new QCoreApplication(*argc, *argv);
  QLoggingCategory::setFilterRules(QStringLiteral("bv.*=false"));
  directory = new QTemporaryDir;
  for (const char* name : {"sky.png", "bush.png", "tree.png", "door-open.png"})
  {
    QImage image(3, 2, QImage::Format_ARGB32);
    image.fill(Qt::darkGreen);
    image.save(directory->filePath(QString::fromLatin1(name)));
  }
  level = new Level(QSizeF(1, 1));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  const QString path = directory->filePath(QStringLiteral("level.xml"));
  QFile::remove(path);
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    std::abort();
  file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
  file.close();
  // One record loaded again and again, as the game does; a failed load must
  // leave it whole.
  const QSizeF levelSize = level->GetSize();
  if (!level->Load(path) && level->GetSize() != levelSize)
    std::abort();
  return 0;
}
