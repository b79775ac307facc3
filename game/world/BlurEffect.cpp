#include "world/BlurEffect.h"

BlurEffect::BlurEffect(int radius, QObject* parent)
  : QGraphicsBlurEffect(parent)
{
  setBlurRadius(radius);
}

QRectF BlurEffect::boundingRectFor(const QRectF& rect) const
{
  const double r = blurRadius();
  return rect.adjusted(-r, -r, r, r);
}
