#include "common/ConvertUtils.h"

#include "common/GlobalConstants.h"

namespace
{
template <typename T>
T scaled(const T& value, double factor)
{
  return value * factor;
}

QRectF scaled(const QRectF& rect, double factor)
{
  return QRectF(rect.topLeft() * factor, rect.size() * factor);
}

QLineF scaled(const QLineF& line, double factor)
{
  return QLineF(line.p1() * factor, line.p2() * factor);
}

constexpr double PxPerM = bv::PixelsPerMeter;
} // namespace

double m2px(double meters) { return meters * PxPerM; }
QPointF m2px(const QPointF& meters) { return scaled(meters, PxPerM); }
QSizeF m2px(const QSizeF& meters) { return scaled(meters, PxPerM); }
QRectF m2px(const QRectF& meters) { return scaled(meters, PxPerM); }
QLineF m2px(const QLineF& meters) { return scaled(meters, PxPerM); }

double px2m(double pixels) { return pixels * bv::MetersPerPixel; }
QPointF px2m(const QPointF& pixels) { return scaled(pixels, bv::MetersPerPixel); }
QSizeF px2m(const QSizeF& pixels) { return scaled(pixels, bv::MetersPerPixel); }
QRectF px2m(const QRectF& pixels) { return scaled(pixels, bv::MetersPerPixel); }
QLineF px2m(const QLineF& pixels) { return scaled(pixels, bv::MetersPerPixel); }

b2Vec2 Point2Vec(const QPointF& point)
{
  return b2Vec2(static_cast<float>(point.x()), static_cast<float>(point.y()));
}

QPointF Vec2Point(const b2Vec2& vector)
{
  return QPointF(vector.x, vector.y);
}

QRectF AABB2Rect(const b2AABB& aabb)
{
  const b2Vec2 size = aabb.upperBound - aabb.lowerBound;
  return QRectF(Vec2Point(aabb.lowerBound), QSizeF(size.x, size.y));
}

b2AABB Rect2AABB(const QRectF& rect)
{
  b2AABB aabb;
  aabb.lowerBound = Point2Vec(rect.topLeft());
  aabb.upperBound = Point2Vec(rect.topLeft() + QPointF(rect.width(), rect.height()));
  return aabb;
}
