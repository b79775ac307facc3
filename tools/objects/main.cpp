// brisvel-objects: makes the game's object descriptions and pictures of them.
//
//   brisvel-objects generate OUT.xml                    writes the table of ObjectTable.cpp
//   brisvel-objects preview OBJECTS.xml STICKMAN.xml OUTDIR   the objects in the figure's hand
//   brisvel-objects held OBJECTS.xml OUTDIR NAME...   OUTDIR/NAME.obj, for a level's stickmen to hold

#include "HeldObjects.h"
#include "ObjectTable.h"
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
    return objects::Generate(arguments[2]) ? 0 : 1;
  if (arguments.size() == 5 && arguments[1] == "preview")
    return RenderPreview(arguments[2], arguments[3], arguments[4]) ? 0 : 1;
  if (arguments.size() >= 5 && arguments[1] == "held")
    return WriteHeldObjects(arguments[2], arguments[3], arguments.mid(4)) ? 0 : 1;
  QTextStream(stderr) << "usage: brisvel-objects generate OUT.xml\n"
                         "       brisvel-objects preview OBJECTS.xml STICKMAN.xml OUTDIR\n"
                         "       brisvel-objects held OBJECTS.xml OUTDIR NAME...\n";
  return 2;
}
