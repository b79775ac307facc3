#pragma once

#include "common/Orientation.h"

#include <QPointF>

class QPolygonF;

namespace shapewise
{
/// Horizontal or Vertical when the segment lies within 30 degrees of that axis,
/// otherwise Diagonal; a segment shorter than 0.001 in both directions is
/// Diagonal too (undetermined).
Orientation GetLineOrientation(QPointF a, QPointF b);

/// The orientation of the chord from the first to the last point, provided the
/// bounding rectangle's diagonal agrees and the line does not reach 10 % or more
/// beyond its chord along that axis; otherwise Diagonal, as for fewer than 2 points.
Orientation GetPolylineOrientation(const QPolygonF& line);
} // namespace shapewise
