// brisvel-stickman: makes the game's stickman file and pictures of it.
//
//   brisvel-stickman generate OUT.xml        writes the figure described in Figure.cpp
//   brisvel-stickman preview DATA.xml OUTDIR  renders its postures and animations to PNG

#include "FigureBuilder.h"
#include "Preview.h"

#include <QApplication>
#include <QTextStream>

#ifdef BV_SANITIZE
// Qt 5.15's offscreen platform plugin never frees its screen objects.
extern "C" const char* __lsan_default_suppressions()
{
  return "leak:libqoffscreen.so\n";
}
#endif

int main(int argc, char** argv)
{
  // Pictures only: no window is ever shown.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
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
