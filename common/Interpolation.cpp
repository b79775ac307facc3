#include "common/Interpolation.h"

QPointF CalculateIntermediatePoint(const QPointF& from, const QPointF& to, double t)
{
  return (to - from) * t + from;
}
