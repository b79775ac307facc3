// brisvel-pictures OUTPUT_DIRECTORY REFERENCES.ndjson: paints the game's pictures into
// OUTPUT_DIRECTORY: the menu background, the how-to-play screen (with a drawing
// guide made from the reference generators), the drawing cursor, the two frames
// of the continue indicator, the eagle and the icon. The references are those the build
// generated for the recognition database. The same program always paints the
// same pictures.

#include "Pictures.h"
#include "Headless.h"
#include "References.h"
#include "SketchFile.h"
#include "Sketchbook.h"

#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
  RunHeadless();
  QGuiApplication application(argc, argv);
  QTextStream err(stderr);
  if (argc != 3)
  {
    err << "usage: brisvel-pictures OUTPUT_DIRECTORY REFERENCES.ndjson\n";
    return 2;
  }
  QList<Sketch> references;
  QString error;
  if (!ReadSketches(QString::fromLocal8Bit(argv[2]), references, error))
  {
    err << "brisvel-pictures: " << error << "\n";
    return 1;
  }
  if (!sketchbook::LoadLettering())
  {
    err << "brisvel-pictures: the Comic Neue font is missing (Debian package fonts-comic-neue)\n";
    return 1;
  }
  const QDir directory(QString::fromLocal8Bit(argv[1]));
  if (!directory.mkpath("."))
  {
    err << "brisvel-pictures: cannot create " << directory.path() << "\n";
    return 1;
  }
  const QList<QPair<QString, QImage>> pictures{
      {"menu_background.png", pictures::MenuBackground()},
      {"how_to_play_pc.png", pictures::HelpScreen(references, GameplayObjectNames())},
      {"drawing_cursor.png", pictures::DrawingCursor()},
      {"space1.png", pictures::ContinueIndicator(1)},
      {"space2.png", pictures::ContinueIndicator(2)},
      {"eagle.png", pictures::Eagle()},
      {"brisvel.png", pictures::Icon(256)},
  };
  for (const auto& [name, image] : pictures)
    if (!image.save(directory.filePath(name)))
    {
      err << "brisvel-pictures: cannot write " << directory.filePath(name) << "\n";
      return 1;
    }
  return 0;
}
