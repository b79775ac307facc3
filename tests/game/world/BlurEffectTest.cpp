#include "world/BlurEffect.h"

#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

TEST(BlurEffectTest, GrowsTheBoundsByTheRadiusOnEverySide)
{
  BlurEffect effect(10, nullptr);
  EXPECT_DOUBLE_EQ(effect.blurRadius(), 10.0);
  EXPECT_EQ(effect.boundingRectFor(QRectF(5, 6, 20, 30)), QRectF(-5, -4, 40, 50));
}

// The margin of the blur is painted, not clipped: pixels just outside the
// item pick up some of its colour.
TEST(BlurEffectTest, PaintsTheBlurredMarginAroundTheItem)
{
  QGraphicsScene scene(0, 0, 100, 100);
  auto* item = new QGraphicsRectItem(40, 40, 20, 20);
  item->setBrush(Qt::black);
  item->setPen(Qt::NoPen);
  scene.addItem(item);
  item->setGraphicsEffect(new BlurEffect(10, nullptr));

  QImage image(100, 100, QImage::Format_ARGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  scene.render(&painter, QRectF(0, 0, 100, 100), QRectF(0, 0, 100, 100));
  painter.end();

  EXPECT_LT(qGray(image.pixel(37, 50)), 250);
  EXPECT_EQ(qGray(image.pixel(5, 5)), 255);
}
