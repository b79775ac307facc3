#include "world/LightSource.h"

#include "common/FastTrigonometry.h"
#include "world/Object.h"

#include <QGraphicsItem>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPointer>

#include <algorithm>
#include <cmath>

namespace
{
// Alpha 0 at the centre rising as sin(80 degrees x distance / radius): about 251 at the rim.
QPixmap lightMask(int r)
{
  InitFastTrigonometry();
  const int size = 2 * r + 1;
  QImage mask(size, size, QImage::Format_ARGB32);
  mask.fill(0xFF000000);
  const int halfWidth = mask.width() / 2;
  const int halfHeight = mask.height() / 2;
  for (int x = 0; x < size; ++x)
  {
    for (int y = 0; y < size; ++y)
    {
      const int dx = halfWidth - x;
      const int dy = halfHeight - y;
      const double d = std::sqrt(double(dx * dx + dy * dy));
      if (d <= r)
      {
        const int alpha = r > 0 ? int(FastSin(d * 80 / r) * 255) : 0;
        mask.setPixel(x, y, qRgba(0, 0, 0, alpha));
      }
    }
  }
  return QPixmap::fromImage(mask);
}

class LightSourceBase : public LightSource
{
public:
  explicit LightSourceBase(double radius)
    : m_radius(std::min(radius, MaxLightRadiusPx))
    , m_r(int(m_radius))
    , m_mask(lightMask(m_r))
  {
  }

  double GetRadius() const override { return m_radius; }

  void Render(QPainter& painter) const override
  {
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.drawPixmap(maskRect().topLeft(), m_mask);
  }

  QRect GetRect() const override { return maskRect(); }

protected:
  QRect maskRect() const
  {
    const QPointF p = GetPosition();
    return QRect(int(std::lround(p.x())) - m_r, int(std::lround(p.y())) - m_r, m_mask.width(), m_mask.height());
  }

private:
  double m_radius;
  int m_r;
  QPixmap m_mask;
};

class StaticLightSource : public LightSourceBase
{
public:
  StaticLightSource(const QPointF& position, double radius)
    : LightSourceBase(radius)
    , m_position(position)
  {
  }

  QPointF GetPosition() const override { return m_position; }

private:
  QPointF m_position;
};

class DynamicLightSource : public LightSourceBase
{
public:
  DynamicLightSource(Object* object, double radius)
    : LightSourceBase(radius)
    , m_object(object)
  {
  }

  QPointF GetPosition() const override
  {
    const QGraphicsItem* item = m_object ? m_object->GetItem() : nullptr;
    return item ? item->sceneBoundingRect().center() : QPointF();
  }

  void Render(QPainter& painter) const override
  {
    if (shines())
      LightSourceBase::Render(painter);
  }

  QRect GetRect() const override { return shines() ? maskRect() : QRect(); }

private:
  bool shines() const { return m_object && m_object->GetItem(); }

  // An object deleted without being unregistered must not leave a dangling light.
  QPointer<Object> m_object;
};
} // namespace

LightSource* CreateStaticLightSource(const QPointF& position, double radius)
{
  return new StaticLightSource(position, radius);
}

LightSource* CreateDynamicLightSource(Object* object, double radius)
{
  return new DynamicLightSource(object, radius);
}
