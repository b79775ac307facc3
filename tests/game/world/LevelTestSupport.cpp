#include "LevelTestSupport.h"

#include <QColor>
#include <QFile>
#include <QImage>

LevelDirectory::LevelDirectory()
{
  const struct
  {
    const char* name;
    int width;
    int height;
    QColor color;
  } pictures[] = {{"sky.png", 8, 4, Qt::cyan},
                  {"bush.png", 3, 2, Qt::darkGreen},
                  {"tree.png", 2, 5, QColor(120, 80, 20, 200)},
                  {"door-open.png", 1, 4, Qt::gray},
                  {"door-closed.png", 2, 4, Qt::darkGray}};
  for (const auto& picture : pictures)
  {
    QImage image(picture.width, picture.height, QImage::Format_ARGB32);
    image.fill(picture.color);
    image.save(Path(QString::fromLatin1(picture.name)));
  }
}

QString LevelDirectory::Write(const QString& name, const QByteArray& content) const
{
  const QString path = Path(name);
  // A new file rather than a truncated one: the file system flushes a file
  // rewritten in place to disk when it is closed, which is slow.
  QFile::remove(path);
  QFile file(path);
  if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
    file.write(content);
  return path;
}

QByteArray MinimalLevel(const QByteArray& body)
{
  return "<level title=\"Test\"><geometry width=\"20\" height=\"10\"/><start x=\"1\" y=\"2\"/><foreground/>" + body +
         "</level>";
}

QByteArray RichLevel()
{
  QFile file(QStringLiteral(BV_LEVEL_TEST_DATA "/rich-level.xml"));
  file.open(QIODevice::ReadOnly);
  return file.readAll();
}
