#include "SketchFile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace
{
bool parseStroke(const QJsonValue& value, QPolygonF& stroke)
{
  const QJsonArray axes = value.toArray();
  if (axes.size() < 2)
    return false;
  const QJsonArray xs = axes[0].toArray();
  const QJsonArray ys = axes[1].toArray();
  if (xs.isEmpty() || xs.size() != ys.size())
    return false;
  for (int i = 0; i < xs.size(); ++i)
  {
    if (!xs[i].isDouble() || !ys[i].isDouble())
      return false;
    const QPointF point(xs[i].toDouble(), ys[i].toDouble());
    if (!std::isfinite(point.x()) || !std::isfinite(point.y()))
      return false;
    stroke << point;
  }
  return true;
}

bool parseLine(const QByteArray& line, Sketch& sketch)
{
  QJsonParseError status;
  const QJsonDocument document = QJsonDocument::fromJson(line, &status);
  if (status.error != QJsonParseError::NoError || !document.isObject())
    return false;
  const QJsonObject object = document.object();
  if (!object.value("word").isString() || !object.value("drawing").isArray())
    return false;
  sketch.word = object.value("word").toString();
  for (const QJsonValue& value : object.value("drawing").toArray())
  {
    QPolygonF stroke;
    if (!parseStroke(value, stroke))
      return false;
    sketch.strokes << stroke;
  }
  return !sketch.strokes.isEmpty();
}

QByteArray formatAxis(const QPolygonF& stroke, bool horizontal)
{
  QByteArray text = "[";
  for (int i = 0; i < stroke.size(); ++i)
  {
    if (i > 0)
      text += ',';
    text += QByteArray::number(qRound(horizontal ? stroke[i].x() : stroke[i].y()));
  }
  return text + ']';
}
} // namespace

bool ParseSketches(const QByteArray& text, QList<Sketch>& sketches, QString& error)
{
  const QList<QByteArray> lines = text.split('\n');
  for (int i = 0; i < lines.size(); ++i)
  {
    if (lines[i].trimmed().isEmpty())
      continue;
    Sketch sketch;
    if (!parseLine(lines[i], sketch))
    {
      error = QString("line %1: not a drawing").arg(i + 1);
      return false;
    }
    sketches << sketch;
  }
  return true;
}

bool ReadSketches(const QString& fileName, QList<Sketch>& sketches, QString& error)
{
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly))
  {
    error = fileName + ": " + file.errorString();
    return false;
  }
  if (!ParseSketches(file.readAll(), sketches, error))
  {
    error = fileName + ": " + error;
    return false;
  }
  return true;
}

QByteArray FormatSketches(const QList<Sketch>& sketches)
{
  QByteArray text;
  for (const Sketch& sketch : sketches)
  {
    text += "{\"word\":" + QJsonDocument(QJsonArray{sketch.word}).toJson(QJsonDocument::Compact).mid(1).chopped(1);
    text += ",\"drawing\":[";
    for (int i = 0; i < sketch.strokes.size(); ++i)
    {
      if (i > 0)
        text += ',';
      text += '[' + formatAxis(sketch.strokes[i], true) + ',' + formatAxis(sketch.strokes[i], false) + ']';
    }
    text += "]}\n";
  }
  return text;
}

bool WriteSketches(const QString& fileName, const QList<Sketch>& sketches, QString& error)
{
  QFile file(fileName);
  if (!file.open(QIODevice::WriteOnly) || file.write(FormatSketches(sketches)) < 0 || !file.flush())
  {
    error = fileName + ": " + file.errorString();
    return false;
  }
  return true;
}
