#include "common/ImageOperations.h"

#include <QGraphicsBlurEffect>
#include <QGraphicsPathItem>
#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QPainter>

QPixmap BlurPixmap(const QPixmap& source, double radius)
{
  if (source.isNull())
    return source;
  QGraphicsScene scene;
  auto* item = new QGraphicsPixmapItem(source); // owned by the scene
  auto* blur = new QGraphicsBlurEffect;         // owned by the item
  blur->setBlurHints(QGraphicsBlurEffect::PerformanceHint);
  blur->setBlurRadius(radius);
  item->setGraphicsEffect(blur);
  scene.addItem(item);

  QPixmap result(source.size());
  result.fill(Qt::transparent);
  QPainter painter(&result);
  scene.render(&painter, QRectF(), QRectF(), Qt::KeepAspectRatio);
  painter.end();
  return result;
}

QImage BlurImage(const QImage& source, double radius)
{
  return BlurPixmap(QPixmap::fromImage(source), radius).toImage();
}

QImage PathItemToImage(const QGraphicsPathItem* item, double scale)
{
  const QRectF bounds = item->boundingRect();
  QImage image(qRound(bounds.width() * scale), qRound(bounds.height() * scale), QImage::Format_ARGB32);
  if (image.isNull()) // an empty stroke: nothing to paint on
    return image;
  image.fill(QColor(255, 255, 255, 255));
  QPainter painter(&image);
  painter.scale(scale, scale);
  painter.setPen(item->pen());
  painter.drawPath(item->path().translated(-bounds.x(), -bounds.y()));
  painter.end();
  return image;
}
