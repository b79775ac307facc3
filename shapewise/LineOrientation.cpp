#include "shapewise/LineOrientation.h"

#include <QPolygonF>

#include <cmath>

namespace shapewise
{
namespace
{
// Differences up to this count as parallel to an axis.
constexpr double AxisTolerance = 0.001;
// tan 30 degrees and tan 60 degrees: the limits of 30 degrees around each axis.
constexpr double BoundaryHorizontalLineTan = 0.5773502691896257;
constexpr double BoundaryVerticalLineTan = 1.7320508075688776;
// A polyline whose extent along its axis reaches this many times its chord
// goes back on itself.
constexpr double MaxOvershootRatio = 1.1;
} // namespace

Orientation GetLineOrientation(QPointF a, QPointF b)
{
  const double dx = std::abs(b.x() - a.x());
  const double dy = std::abs(b.y() - a.y());
  if (dx <= AxisTolerance)
    return dy <= AxisTolerance ? Diagonal : Vertical;
  if (dy <= AxisTolerance)
    return Horizontal;
  const double tangent = dy / dx;
  if (tangent >= BoundaryVerticalLineTan)
    return Vertical;
  if (tangent <= BoundaryHorizontalLineTan)
    return Horizontal;
  return Diagonal;
}

Orientation GetPolylineOrientation(const QPolygonF& line)
{
  if (line.size() <= 1)
    return Diagonal;
  const QPointF first = line.first();
  const QPointF last = line.last();
  if (line.size() == 2)
    return GetLineOrientation(first, last);

  const Orientation chord = GetLineOrientation(first, last);
  const QRectF bounds = line.boundingRect();
  if (chord == Diagonal || chord != GetLineOrientation(bounds.topLeft(), bounds.bottomRight()))
    return Diagonal;
  const bool overshoots = chord == Horizontal ? bounds.width() / std::abs(last.x() - first.x()) >= MaxOvershootRatio
                                              : bounds.height() / std::abs(last.y() - first.y()) >= MaxOvershootRatio;
  return overshoots ? Diagonal : chord;
}
} // namespace shapewise
