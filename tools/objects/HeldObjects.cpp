#include "HeldObjects.h"

#include "References.h"

#include "world/DrawingRecognition.h"

#include <QDir>
#include <QMap>
#include <QTextStream>

#include <algorithm>

namespace
{
/// The first reference of every object.
const QMap<QString, Sketch>& firstReferences()
{
  static const QMap<QString, Sketch> references = [] {
    QMap<QString, Sketch> first;
    for (const Sketch& sketch : GenerateReferences())
    {
      const QString name = DrawingRecognition::ParseId(sketch.word).name;
      if (!first.contains(name))
        first.insert(name, sketch);
    }
    return first;
  }();
  return references;
}
} // namespace

QPainterPath ReferencePath(const QString& name, const ObjectCreator::ObjectInfo& info, double size)
{
  const auto found = firstReferences().constFind(name);
  if (found == firstReferences().cend())
    return QPainterPath();
  QPainterPath path;
  for (const QPolygonF& stroke : found->strokes)
  {
    if (stroke.isEmpty())
      continue;
    path.moveTo(stroke.first());
    for (int i = 1; i < stroke.size(); ++i)
      path.lineTo(stroke[i]);
  }
  const DrawingRecognition::ParsedId id = DrawingRecognition::ParseId(found->word);
  if (info.grabable.grabable)
  {
    bool mirrored = false;
    double rotation = 0;
    const Direction drawn = id.hasDirection ? id.direction : info.grabable.defaultDirection;
    path = ObjectCreator::ToDefaultDirection(drawn, info.grabable.defaultDirection, mirrored, rotation).map(path);
  }
  const QRectF r = path.boundingRect();
  const double scale = size / std::max({r.width(), r.height(), 1.0});
  QTransform transform;
  transform.scale(scale, scale);
  transform.translate(-r.center().x(), -r.center().y());
  return transform.map(path);
}

bool WriteHeldObjects(const QString& objectsFile, const QString& outputDir, const QStringList& names)
{
  QTextStream err(stderr);
  ObjectCreator creator;
  if (!creator.loadObjectDescriptions(objectsFile, nullptr, nullptr))
  {
    err << objectsFile << ": not an objects file\n";
    return false;
  }
  if (!QDir().mkpath(outputDir))
  {
    err << outputDir << ": cannot be created\n";
    return false;
  }
  for (const QString& name : names)
  {
    const QPainterPath path = creator.GetObjectDescriptions().contains(name)
                                  ? ReferencePath(name, creator.getObjectInfo(name), DrawnSizePx)
                                  : QPainterPath();
    if (path.isEmpty())
    {
      err << name << ": no object of that name is described and drawn\n";
      return false;
    }
    if (!creator.SaveObject(QDir(outputDir).filePath(name + ".obj"), path, name))
      return false;
  }
  return true;
}
