// brisvel-levelpainter LEVEL.xml DECORATION OUTPUT_DIRECTORY: paints the
// background and foreground pictures of a level from its geometry and its
// decoration source into OUTPUT_DIRECTORY, under the file names the level file
// gives them ("background" image and the first "foreground" region's image),
// and the pictures of its interactive things under the names its decoration gives.

#include "Decoration.h"
#include "Headless.h"
#include "LevelPainter.h"
#include "Sketchbook.h"

#include "world/Level.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>
#include <tinyxml.h>

namespace
{
// The names of the two pictures the level file refers to.
bool pictureNames(const QString& levelPath, QString& background, QString& foreground, QString& error)
{
  TiXmlDocument document;
  const TiXmlElement* root = nullptr;
  if (document.LoadFile(QFile::encodeName(levelPath).constData(), TIXML_ENCODING_UTF8))
    root = document.FirstChildElement("level");
  const TiXmlElement* back = root ? root->FirstChildElement("background") : nullptr;
  const TiXmlElement* front = root ? root->FirstChildElement("foreground") : nullptr;
  const TiXmlElement* region = front ? front->FirstChildElement("region") : nullptr;
  if (!back || !region || !back->Attribute("image") || !region->Attribute("image"))
  {
    error = levelPath + ": the level names no background image or no foreground region image";
    return false;
  }
  background = QString::fromUtf8(back->Attribute("image"));
  foreground = QString::fromUtf8(region->Attribute("image"));
  return true;
}
} // namespace

int main(int argc, char** argv)
{
  RunHeadless();
  QGuiApplication application(argc, argv);
  QTextStream err(stderr);
  if (argc != 4)
  {
    err << "usage: brisvel-levelpainter LEVEL.xml DECORATION OUTPUT_DIRECTORY\n";
    return 2;
  }
  const QString levelPath = QString::fromLocal8Bit(argv[1]);
  const QDir output(QString::fromLocal8Bit(argv[3]));
  QString backgroundName, foregroundName, error;
  QList<DecorationItem> decoration;
  Level level(QSizeF(0, 0));
  if (!pictureNames(levelPath, backgroundName, foregroundName, error) ||
      !LoadDecoration(QString::fromLocal8Bit(argv[2]), decoration, error))
  {
    err << "brisvel-levelpainter: " << error << "\n";
    return 1;
  }
  if (!level.Load(levelPath))
  {
    err << "brisvel-levelpainter: " << levelPath << ": the game cannot load this level\n";
    return 1;
  }
  if (!sketchbook::LoadLettering())
  {
    err << "brisvel-levelpainter: the Comic Neue font is missing (Debian package fonts-comic-neue)\n";
    return 1;
  }
  const LevelPictures pictures = PaintLevel(level, decoration);
  bool saved = output.mkpath(".") && pictures.background.save(output.filePath(backgroundName)) &&
               pictures.foreground.save(output.filePath(foregroundName));
  for (const auto& item : pictures.items)
    saved = saved && item.second.save(output.filePath(item.first));
  if (!saved)
  {
    err << "brisvel-levelpainter: cannot write the pictures into " << output.path() << "\n";
    return 1;
  }
  return 0;
}
