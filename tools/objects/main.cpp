// brisvel-objects: makes the game's object descriptions and pictures of them.
//
//   brisvel-objects generate OUT.xml                    writes the table of ObjectTable.cpp
//   brisvel-objects preview OBJECTS.xml STICKMAN.xml OUTDIR   the objects in the figure's hand

#include "ObjectTable.h"
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
    return objects::Generate(arguments[2]) ? 0 : 1;
  if (arguments.size() == 5 && arguments[1] == "preview")
    return RenderPreview(arguments[2], arguments[3], arguments[4]) ? 0 : 1;
  QTextStream(stderr) << "usage: brisvel-objects generate OUT.xml\n"
                         "       brisvel-objects preview OBJECTS.xml STICKMAN.xml OUTDIR\n";
  return 2;
}
