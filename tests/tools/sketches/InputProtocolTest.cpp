#include "InputProtocol.h"

#include <QGraphicsPathItem>
#include <QLineF>
#include <QPainterPath>
#include <QPen>

#include <gtest/gtest.h>

namespace
{
QPolygonF points(std::initializer_list<QPointF> list)
{
  return QPolygonF(QVector<QPointF>(list));
}
} // namespace

TEST(InputProtocolTest, ScalesTheLongerSideAndKeepsTheShape)
{
  const QList<QPolygonF> strokes = {points({{10, 10}, {60, 10}}), points({{10, 30}})};
  const QList<QPolygonF> scaled = ScaleToLongerSide(strokes, 200);
  ASSERT_EQ(scaled.size(), 2);
  EXPECT_EQ(scaled[0], points({{0, 0}, {200, 0}}));
  EXPECT_EQ(scaled[1], points({{0, 80}}));
  // A single point has no extent to scale.
  const QList<QPolygonF> dot = {points({{3, 4}})};
  EXPECT_EQ(ScaleToLongerSide(dot, 200), dot);
}

TEST(InputProtocolTest, ResamplesLikeMouseInput)
{
  const QList<QPolygonF> resampled = Resample({points({{0, 0}, {30, 0}, {30, 10}}), points({{5, 5}})}, 8.0);
  ASSERT_EQ(resampled.size(), 2);
  // Every 8 pixels along the corner, then the last point.
  EXPECT_EQ(resampled[0], points({{0, 0}, {8, 0}, {16, 0}, {24, 0}, {30, 2}, {30, 10}}));
  EXPECT_EQ(resampled[1], points({{5, 5}}));
  // A last point close to the previous sample replaces it rather than crowd it.
  EXPECT_EQ(Resample({points({{0, 0}, {17, 0}})}, 8.0).first(), points({{0, 0}, {8, 0}, {17, 0}}));
}

TEST(InputProtocolTest, EachStrokeIsOnePressDragRelease)
{
  const QPainterPath path = StrokesToPath({points({{0, 0}, {10, 0}}), points({{20, 20}})});
  // QPainterPath drops a line to where it already is, as it does for the game's
  // own strokes: a click leaves a move-to alone.
  ASSERT_EQ(path.elementCount(), 3);
  EXPECT_TRUE(path.elementAt(0).isMoveTo());
  EXPECT_TRUE(path.elementAt(1).isLineTo());
  EXPECT_TRUE(path.elementAt(2).isMoveTo());
  EXPECT_EQ(QPointF(path.elementAt(2)), QPointF(20, 20));
}

TEST(InputProtocolTest, TheDrawingIsCentredOnItsOrigin)
{
  const auto drawing = MakeDrawing({points({{100, 100}, {200, 140}})});
  EXPECT_EQ(drawing->pen().widthF(), 3.0);
  const QPointF centre = drawing->boundingRect().center();
  EXPECT_NEAR(centre.x(), 0.0, 1e-9);
  EXPECT_NEAR(centre.y(), 0.0, 1e-9);
}
