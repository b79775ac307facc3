#include "flow/HUD.h"

#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsTextItem>

#include <gtest/gtest.h>

TEST(HUDTest, TheMessageIsCentredOnTheScreenWhereverTheCameraLooks)
{
  QGraphicsScene scene;
  HUD hud(nullptr);
  hud.Create(&scene);
  QGraphicsSimpleTextItem* message = hud.GetMessageItem();
  ASSERT_NE(message, nullptr);
  EXPECT_FALSE(message->isVisible());
  EXPECT_TRUE(message->flags() & QGraphicsItem::ItemIgnoresTransformations);

  // Shown before the viewport is known: visible, not placed.
  hud.ShowMessage("Restarting level...");
  EXPECT_TRUE(message->isVisible());
  EXPECT_EQ(message->pos(), QPointF(0, 0));

  // The camera has moved 500 px right and 200 px down.
  hud.UpdateFromView(QSize(1600, 900), QTransform::fromTranslate(-500, -200));
  const QRectF r = message->sceneBoundingRect();
  EXPECT_NEAR(r.center().x(), 500 + 800, 1);
  EXPECT_NEAR(r.center().y(), 200 + 450, 1);
  EXPECT_EQ(message->font().pointSize(), 60);
  hud.HideMessage();
  EXPECT_FALSE(message->isVisible());
}

TEST(HUDTest, ATooLongMessageShrinksInStepsOfTenPoints)
{
  QGraphicsScene scene;
  HUD hud(nullptr);
  hud.Create(&scene);
  hud.UpdateFromView(QSize(400, 300), QTransform());
  hud.ShowMessage("A message far too long for such a small window");
  const int size = hud.GetMessageItem()->font().pointSize();
  EXPECT_LT(size, 60);
  EXPECT_EQ(size % 10, 0);
  EXPECT_GE(size, 10);
  EXPECT_TRUE(size == 10 || hud.GetMessageItem()->sceneBoundingRect().width() <= 400);
}

TEST(HUDTest, SubtitlesFillTheBottomSixPercent)
{
  QGraphicsScene scene;
  HUD hud(nullptr);
  hud.Create(&scene);
  hud.UpdateFromView(QSize(1000, 500), QTransform::fromScale(2, 2));
  hud.ShowSubtitle("<i>Music</i>: a track");
  QGraphicsRectItem* band = hud.GetSubtitleBackground();
  EXPECT_TRUE(band->isVisible());
  EXPECT_TRUE(hud.GetSubtitleItem()->isVisible());
  // Window pixels mapped back into the scene at half scale.
  EXPECT_EQ(band->rect(), QRectF(QPointF(0, 235), QPointF(500, 250)));
  EXPECT_EQ(hud.GetSubtitleItem()->font().pointSize(), 6);
  EXPECT_EQ(hud.GetSubtitleItem()->pos(), QPointF(0.15 * 15, 235 + 0.15 * 15));
  hud.HideSubtitle();
  EXPECT_FALSE(band->isVisible());

  // After the scene drops its items the HUD no longer touches them.
  scene.clear();
  hud.Reset();
  hud.ShowMessage("gone");
  hud.UpdateFromView(QSize(10, 10), QTransform());
  EXPECT_EQ(hud.GetMessageItem(), nullptr);
}
