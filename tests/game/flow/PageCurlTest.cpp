#include "flow/PageCurl.h"

#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QImage>

#include <gtest/gtest.h>

TEST(PageCurlTest, AFullHdPageTurnsIn63TicksFromTheBottomRightCorner)
{
  QGraphicsScene scene;
  QPixmap page(1920, 1080);
  page.fill(Qt::red);
  PageCurl curl;
  curl.Init(&scene, page, QPointF(100, 50));
  ASSERT_NE(curl.GetItem(), nullptr);
  EXPECT_EQ(curl.GetItem()->pos(), QPointF(100, 50));
  EXPECT_DOUBLE_EQ(curl.GetStep(), 48);
  EXPECT_FALSE(curl.IsFinished());

  for (int tick = 0; tick < 10; ++tick)
    curl.Advance();
  // The corner is gone, the opposite corner is still there.
  const QImage shown = curl.GetItem()->pixmap().toImage();
  EXPECT_EQ(qAlpha(shown.pixel(1919, 1079)), 0);
  EXPECT_EQ(shown.pixelColor(5, 5), QColor(Qt::red));

  int ticks = 10;
  while (!curl.IsFinished() && ticks < 100)
  {
    curl.Advance();
    ++ticks;
  }
  EXPECT_EQ(ticks, 63);
  const QImage last = curl.GetItem()->pixmap().toImage();
  EXPECT_EQ(qAlpha(last.pixel(15, 15)), 0);
}

TEST(PageCurlTest, AnEmptyPageIsTurnedAtOnce)
{
  QGraphicsScene scene;
  PageCurl curl;
  curl.Init(&scene, QPixmap(), QPointF());
  EXPECT_TRUE(curl.IsFinished());
  curl.Advance();
}
