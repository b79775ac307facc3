#include "common/ConvertUtils.h"
#include "common/GlobalConstants.h"

#include <gtest/gtest.h>

TEST(ConvertUtils, ScalesEveryTypeWithoutFlippingY)
{
  EXPECT_DOUBLE_EQ(m2px(1.8), bv::StickmanHeightPx);
  EXPECT_DOUBLE_EQ(px2m(180.0), bv::StickmanHeightM);
  EXPECT_EQ(m2px(QPointF(1, -2)), QPointF(100, -200));
  EXPECT_EQ(px2m(QSizeF(50, 250)), QSizeF(0.5, 2.5));
  EXPECT_EQ(m2px(QRectF(0.1, 0.2, 1, 2)), QRectF(10, 20, 100, 200));
  EXPECT_EQ(px2m(QLineF(0, 100, 300, -100)), QLineF(0, 1, 3, -1));
}

TEST(ConvertUtils, VectorsAndBoxes)
{
  const b2Vec2 v = Point2Vec(QPointF(1.25, -3.5));
  EXPECT_FLOAT_EQ(v.x, 1.25f);
  EXPECT_FLOAT_EQ(v.y, -3.5f);
  EXPECT_EQ(Vec2Point(v), QPointF(1.25, -3.5));

  const QRectF rect(-1.5, 2.25, 3.1, 0.7);
  const b2AABB aabb = Rect2AABB(rect);
  EXPECT_FLOAT_EQ(aabb.lowerBound.x, -1.5f);
  EXPECT_FLOAT_EQ(aabb.upperBound.y, 2.95f);
  const QRectF back = AABB2Rect(aabb);
  EXPECT_NEAR(back.x(), rect.x(), 1e-6);
  EXPECT_NEAR(back.y(), rect.y(), 1e-6);
  EXPECT_NEAR(back.width(), rect.width(), 1e-6);
  EXPECT_NEAR(back.height(), rect.height(), 1e-6);
}

TEST(GlobalConstants, LayersAreConsecutiveFromStickmanToHud)
{
  const double layers[] = {bv::StickmanZValue,      bv::ObjectsZValue, bv::ForegroundLayersZValue,
                           bv::DarknessLayerZValue, bv::DrawingZValue, bv::CuesZValue,
                           bv::PageCurlZValue,      bv::HudZValue};
  for (int i = 0; i < 8; ++i)
    EXPECT_EQ(layers[i], i + 1);
  EXPECT_EQ(bv::zValue, 8);
  EXPECT_DOUBLE_EQ(bv::HandReachDistance, 55.00000000000001);
  EXPECT_EQ(bv::PlayerStickmanColor, QColor(0, 0, 191));
  EXPECT_EQ(bv::EnemyStickmanColor, QColor(160, 0, 0));
}
