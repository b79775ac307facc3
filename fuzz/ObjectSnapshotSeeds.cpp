// Writes the seed corpus of fuzz_object_snapshot with the game's own save
// operation: a ladder and stairs drawn on a scene and recognised, and a few
// drawings saved under the names of objects the game knows.
//   build-fuzz/bin/object-snapshot-seeds fuzz/corpus/object_snapshot

#include "FuzzScene.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QLineF>
#include <QList>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>
#include <cstdio>

namespace
{
/// A straight stroke sampled every few pixels, as a mouse draws it.
QPolygonF line(QPointF from, QPointF to)
{
  QPolygonF stroke;
  const int steps = std::max(1, int(QLineF(from, to).length() / 8));
  for (int i = 0; i <= steps; ++i)
    stroke << from + (to - from) * (double(i) / steps);
  return stroke;
}

QList<QPolygonF> ladder()
{
  const QPointF bottomLeft(1000, 560);
  const double width = 60;
  const double height = 240;
  QList<QPolygonF> strokes{line(bottomLeft, bottomLeft + QPointF(0, -height)),
                           line(bottomLeft + QPointF(width, 0), bottomLeft + QPointF(width, -height))};
  for (int i = 1; i <= 3; ++i)
    strokes << line(bottomLeft + QPointF(0, -i * height / 4), bottomLeft + QPointF(width, -i * height / 4));
  return strokes;
}

QList<QPolygonF> stairs()
{
  QPolygonF stroke;
  stroke << QPointF(1000, 300);
  for (int i = 0; i < 3; ++i)
    for (const QPointF& step : {QPointF(0, -60), QPointF(100, 0)})
      stroke += line(stroke.last(), stroke.last() + step).mid(1);
  return {stroke};
}

/// A sword pointing right: blade, guard, grip.
QList<QPolygonF> sword()
{
  return {line(QPointF(0, 0), QPointF(260, 0)), line(QPointF(40, -30), QPointF(40, 30)),
          line(QPointF(0, 0), QPointF(-40, 0))};
}

QList<QPolygonF> ball()
{
  QPolygonF stroke;
  for (int i = 0; i <= 36; ++i)
    stroke << QPointF(60 * std::cos(i * M_PI / 18), 60 * std::sin(i * M_PI / 18));
  return {stroke};
}

QList<QPolygonF> box()
{
  QPolygonF outline;
  outline << QPointF(0, 0) << QPointF(120, 0) << QPointF(120, 90) << QPointF(0, 90) << QPointF(0, 0);
  return {outline, line(QPointF(0, 0), QPointF(120, 90))};
}

/// The strokes drawn through the creator, as the player's mouse does.
void draw(ObjectCreator& creator, const QList<QPolygonF>& strokes)
{
  creator.Start();
  for (const QPolygonF& stroke : strokes)
  {
    creator.MovePenTo(stroke.first());
    for (int i = 1; i < stroke.size(); ++i)
      creator.DrawLineTo(stroke[i]);
  }
  creator.Finish();
}

/// The object name a saved object file begins with.
QString savedName(const QString& fileName)
{
  QFile file(fileName);
  QString name;
  QDataStream stream(&file);
  if (file.open(QIODevice::ReadOnly))
    stream >> name;
  return name;
}

/// The path a finished drawing of \a strokes holds: centred on its origin.
QPainterPath path(const QList<QPolygonF>& strokes)
{
  QPainterPath path;
  for (const QPolygonF& stroke : strokes)
    path.addPolygon(stroke);
  path.translate(-path.boundingRect().center());
  return path;
}
} // namespace

int main(int argc, char** argv)
{
  StartHeadlessApplication(&argc, &argv);
  if (argc != 2)
  {
    std::fprintf(stderr, "usage: %s OUTPUT_DIRECTORY\n", argv[0]);
    return 2;
  }
  const QDir output(QString::fromLocal8Bit(argv[1]));
  if (!output.mkpath("."))
    return 1;
  FuzzScene fuzzScene;
  ObjectCreator& creator = fuzzScene.GetCreator();
  int written = 0;
  for (const auto& [name, strokes] : {std::pair{"ladder", ladder()}, std::pair{"stairs", stairs()}})
  {
    const QString file = output.filePath(QString::fromLatin1(name) + ".obj");
    QFile::remove(file);
    draw(creator, strokes);
    creator.SaveLastObject(file);
    if (savedName(file) != QLatin1String(name))
    {
      std::fprintf(stderr, "the %s was not recognised\n", name);
      return 1;
    }
    ++written;
  }
  for (const auto& [name, strokes] : {std::pair{"sword", sword()}, std::pair{"ball", ball()}, std::pair{"box", box()}})
  {
    if (!creator.SaveObject(output.filePath(QString::fromLatin1(name) + ".obj"), path(strokes), QString::fromLatin1(name)))
      return 1;
    ++written;
  }
  std::printf("%d object files in %s\n", written, argv[1]);
  return 0;
}
