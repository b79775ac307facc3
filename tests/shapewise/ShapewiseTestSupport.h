#pragma once

#include <QPainterPath>
#include <QPolygonF>
#include <QStringList>

#include <initializer_list>
#include <ostream>

namespace shapewisetest
{
/// One stroke through the points.
QPolygonF stroke(std::initializer_list<QPointF> points);
/// \a line cut into pieces of \a step pixels, as mouse input records it.
QPolygonF subdivided(const QPolygonF& line, double step);
QPolygonF reversed(const QPolygonF& line);
/// Each polygon becomes one subpath.
QPainterPath pathOf(std::initializer_list<QPolygonF> strokes);
} // namespace shapewisetest

inline void PrintTo(const QPolygonF& polygon, std::ostream* out)
{
  *out << "[";
  for (const QPointF& point : polygon)
    *out << " (" << point.x() << ", " << point.y() << ")";
  *out << " ]";
}
