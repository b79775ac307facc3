#include "ShapewiseTestSupport.h"

#include <algorithm>
#include <cmath>

namespace shapewisetest
{
QPolygonF stroke(std::initializer_list<QPointF> points)
{
  return QPolygonF(QVector<QPointF>(points));
}

QPolygonF subdivided(const QPolygonF& line, double step)
{
  QPolygonF result;
  for (int i = 0; i + 1 < line.size(); ++i)
  {
    const QPointF from = line[i];
    const QPointF to = line[i + 1];
    const QPointF delta = to - from;
    const int pieces = std::max(1, int(std::round(std::hypot(delta.x(), delta.y()) / step)));
    for (int piece = 0; piece < pieces; ++piece)
      result.append(from + delta * piece / pieces);
  }
  result.append(line.last());
  return result;
}

QPolygonF reversed(const QPolygonF& line)
{
  QPolygonF result = line;
  std::reverse(result.begin(), result.end());
  return result;
}

QPainterPath pathOf(std::initializer_list<QPolygonF> strokes)
{
  QPainterPath path;
  for (const QPolygonF& polygon : strokes)
  {
    path.moveTo(polygon.first());
    for (int i = 1; i < polygon.size(); ++i)
      path.lineTo(polygon[i]);
  }
  return path;
}
} // namespace shapewisetest
