#pragma once

#include <box2d/b2_collision.h>
#include <box2d/b2_math.h>

#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

// Scene pixels and physics metres share the y-down orientation: these only scale.
double m2px(double meters);
QPointF m2px(const QPointF& meters);
QSizeF m2px(const QSizeF& meters);
QRectF m2px(const QRectF& meters);
QLineF m2px(const QLineF& meters);

double px2m(double pixels);
QPointF px2m(const QPointF& pixels);
QSizeF px2m(const QSizeF& pixels);
QRectF px2m(const QRectF& pixels);
QLineF px2m(const QLineF& pixels);

b2Vec2 Point2Vec(const QPointF& point);
QPointF Vec2Point(const b2Vec2& vector);

/// No unit conversion: callers convert first.
QRectF AABB2Rect(const b2AABB& aabb);
b2AABB Rect2AABB(const QRectF& rect);
