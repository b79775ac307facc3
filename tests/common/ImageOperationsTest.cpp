#include "common/ImageOperations.h"

#include <QGraphicsPathItem>
#include <QPen>

#include <gtest/gtest.h>

namespace
{
int countDarkPixels(const QImage& image)
{
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      count += qGray(image.pixel(x, y)) < 128;
  return count;
}
} // namespace

TEST(PathItemToImage, SizeIsTheRoundedBoundingRectangle)
{
  QPainterPath path;
  path.addRect(0, 0, 10.4, 20.5);
  QGraphicsPathItem item(path);
  item.setPen(Qt::NoPen);
  const QImage image = PathItemToImage(&item, 1);
  EXPECT_EQ(image.size(), QSize(10, 21));
  EXPECT_EQ(image.format(), QImage::Format_ARGB32);
  EXPECT_EQ(image.pixel(5, 5), qRgba(255, 255, 255, 255));
}

TEST(PathItemToImage, DrawsTheStrokeWithItsPenAtTheGivenScale)
{
  QPainterPath path(QPointF(100, 50));
  path.lineTo(140, 50);
  QGraphicsPathItem item(path);
  item.setPen(QPen(Qt::black, 4, Qt::SolidLine, Qt::FlatCap));
  // The bounding rectangle includes the pen: 40 x 4 from (100, 48).
  const QImage image = PathItemToImage(&item, 2);
  EXPECT_EQ(image.size(), QSize(80, 8));
  EXPECT_EQ(countDarkPixels(image), 80 * 8);

  const QImage unscaled = PathItemToImage(&item, 1);
  EXPECT_EQ(qGray(unscaled.pixel(20, 2)), 0);
}

TEST(PathItemToImage, EmptyPathGivesANullImage)
{
  QGraphicsPathItem item;
  item.setPen(Qt::NoPen);
  EXPECT_TRUE(PathItemToImage(&item, 1).isNull());
}

TEST(BlurImage, KeepsTheSizeAndSpreadsInk)
{
  QImage image(40, 40, QImage::Format_ARGB32);
  image.fill(Qt::white);
  for (int y = 15; y < 25; ++y)
    for (int x = 15; x < 25; ++x)
      image.setPixel(x, y, qRgb(0, 0, 0));
  const QImage blurred = BlurImage(image, 6);
  ASSERT_EQ(blurred.size(), image.size());
  // Ink has spread outside the square, and its middle is no longer pure black.
  EXPECT_LT(qGray(blurred.pixel(12, 20)), 250);
  EXPECT_GT(qGray(blurred.pixel(15, 15)), 0);
  EXPECT_TRUE(BlurPixmap(QPixmap(), 5).isNull());
}
