// brisvel-stickman: makes the game's stickman file and pictures of it.
//
//   brisvel-stickman generate OUT.xml        writes the figure described in Figure.cpp
//   brisvel-stickman preview DATA.xml OUTDIR  renders its postures and animations to PNG

#include "FigureBuilder.h"
#include "Headless.h"
#include "Preview.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
  RunHeadless();
  QApplication application(argc, argv);
  const QStringList arguments = application.arguments();
  if (arguments.size() == 3 && arguments[1] == "generate")
    return figure::Generate(arguments[2]) ? 0 : 1;
  if (arguments.size() == 4 && arguments[1] == "preview")
    return RenderPreview(arguments[2], arguments[3]) ? 0 : 1;
  QTextStream(stderr) << "usage: brisvel-stickman generate OUT.xml\n"
                         "       brisvel-stickman preview DATA.xml OUTDIR\n";
  return 2;
}
