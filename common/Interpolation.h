#pragma once

#include <QPointF>

/// Linear interpolation: \a t = 0 gives \a from, 1 gives \a to; \a t is not clamped.
QPointF CalculateIntermediatePoint(const QPointF& from, const QPointF& to, double t);
