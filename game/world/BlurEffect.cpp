#include "world/BlurEffect.h"

#include <QGraphicsItem>

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

void BlurEffect::TakeOff(QGraphicsItem* item)
{
  if (auto* blur = qobject_cast<BlurEffect*>(item->graphicsEffect()))
    blur->updateBoundingRect();
  item->setGraphicsEffect(nullptr);
}
