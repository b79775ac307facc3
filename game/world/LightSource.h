#pragma once

#include <QPointF>
#include <QRect>

class Object;
class QPainter;

/// A hole in the darkness: clear at its centre, closing smoothly towards its rim.
class LightSource
{
public:
  virtual ~LightSource() = default;
  /// Scene pixels.
  virtual QPointF GetPosition() const = 0;
  /// Pixels.
  virtual double GetRadius() const = 0;
  /// Multiplies the darkness under the light by its mask; \a painter paints on the darkness.
  virtual void Render(QPainter& painter) const = 0;
  /// The pixels Render paints now; empty when it paints none.
  virtual QRect GetRect() const = 0;
};

/// The largest radius drawn (pixels): a level asking for more gets this, not a
/// mask too large to allocate.
inline constexpr double MaxLightRadiusPx = 2000.0;

/// A light fixed at \a position (scene pixels); \a radius in pixels. Owned by the caller.
LightSource* CreateStaticLightSource(const QPointF& position, double radius);
/// A light at the centre of \a object's picture, read at every call; \a object
/// is not owned. Once the object is gone the light gives no more light.
LightSource* CreateDynamicLightSource(Object* object, double radius);
