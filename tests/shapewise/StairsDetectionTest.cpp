#include "LogCapture.h"
#include "ShapewiseTestSupport.h"

#include "shapewise/SpecialObjectsDetection.h"

#include <gtest/gtest.h>

using namespace shapewise;
using namespace shapewisetest;

namespace
{
// Three steps rising to the right, risers and treads of 40 pixels, from the
// bottom left corner (0, 120) to the top right one (120, 0).
const QPolygonF stepCorners = stroke({{0, 120}, {0, 80}, {40, 80}, {40, 40}, {80, 40}, {80, 0}, {120, 0}});

QPolygonF mirrored(const QPolygonF& line)
{
  QPolygonF result;
  for (const QPointF& point : line)
    result.append(QPointF(-point.x(), point.y()));
  return result;
}

struct Stairs
{
  bool detected = false;
  QList<QPolygonF> treads;
  QList<QPolygonF> risers;
  Direction direction = Down;
};

Stairs detect(const QPainterPath& path)
{
  Stairs stairs;
  stairs.detected = DetectStairs(path, stairs.treads, stairs.risers, stairs.direction);
  return stairs;
}

QList<QPolygonF> reversedEach(const QList<QPolygonF>& lines)
{
  QList<QPolygonF> result;
  for (const QPolygonF& line : lines)
    result.append(reversed(line));
  return result;
}
} // namespace

TEST(DetectStairs, StaircaseDrawnFromTheBottomUp)
{
  const QPolygonF points = subdivided(stepCorners, 10);
  ASSERT_EQ(points.size(), 25);
  const Stairs stairs = detect(pathOf({points}));

  ASSERT_TRUE(stairs.detected);
  EXPECT_EQ(stairs.direction, Right);
  ASSERT_EQ(stairs.risers.size(), 3);
  ASSERT_EQ(stairs.treads.size(), 3);
  // Each line is its four segments; neighbours share their corner.
  EXPECT_EQ(stairs.risers[0], points.mid(0, 5));
  EXPECT_EQ(stairs.treads[0], points.mid(4, 5));
  EXPECT_EQ(stairs.risers[2], points.mid(16, 5));
  EXPECT_EQ(stairs.treads[2], points.mid(20, 5));
}

TEST(DetectStairs, StaircaseDrawnFromTheTopDownComesOutBottomUp)
{
  const QPolygonF points = subdivided(stepCorners, 10);
  const Stairs upwards = detect(pathOf({points}));
  const Stairs downwards = detect(pathOf({reversed(points)}));

  ASSERT_TRUE(downwards.detected);
  EXPECT_EQ(downwards.direction, Right);
  EXPECT_EQ(downwards.treads, reversedEach(upwards.treads));
  EXPECT_EQ(downwards.risers, reversedEach(upwards.risers));
}

TEST(DetectStairs, StairsRisingToTheLeftInBothOrders)
{
  const QPolygonF points = mirrored(subdivided(stepCorners, 10));
  const Stairs upwards = detect(pathOf({points}));
  ASSERT_TRUE(upwards.detected);
  EXPECT_EQ(upwards.direction, Left);
  EXPECT_EQ(upwards.risers.first(), points.mid(0, 5));

  const Stairs downwards = detect(pathOf({reversed(points)}));
  ASSERT_TRUE(downwards.detected);
  EXPECT_EQ(downwards.direction, Left);
  EXPECT_EQ(downwards.risers.first(), reversed(points.mid(0, 5)));
}

TEST(DetectStairs, SeparateStrokesMakeStairsToo)
{
  const QPolygonF points = subdivided(stepCorners, 10);
  const Stairs stairs = detect(pathOf({points.mid(0, 5), points.mid(4, 5), points.mid(8, 5), points.mid(12, 5),
                                       points.mid(16, 5), points.mid(20, 5)}));
  ASSERT_TRUE(stairs.detected);
  EXPECT_EQ(stairs.treads.size(), 3);
  // Single-segment strokes are lines as they are.
  EXPECT_TRUE(detect(pathOf({stroke({{0, 120}, {0, 80}}), stroke({{0, 80}, {40, 80}}), stroke({{40, 80}, {40, 40}}),
                             stroke({{40, 40}, {80, 40}}), stroke({{80, 40}, {80, 0}}), stroke({{80, 0}, {120, 0}})}))
                .detected);
}

TEST(DetectStairs, KinksAreAbsorbedIntoTheirLines)
{
  // A one-segment wobble in the middle of the first tread, a one-segment hook
  // before the first riser and a two-segment tail after the last tread.
  const QPolygonF points = stroke({{-3, 123}, {0, 120}, {0, 110}, {0, 100}, {0, 90}, {0, 80},  // hook, riser
                                   {10, 80}, {20, 80}, {25, 84}, {32, 84}, {40, 84},           // tread, wobble
                                   {40, 74}, {40, 64}, {40, 54}, {40, 44}, {40, 40},           // riser
                                   {50, 40}, {60, 40}, {70, 40}, {80, 40},                     // tread
                                   {80, 30}, {80, 20}, {80, 10}, {80, 0},                      // riser
                                   {90, 0}, {100, 0}, {110, 0}, {120, 0}, {123, 3}, {126, 6}}); // tread, tail
  const Stairs stairs = detect(pathOf({points}));

  ASSERT_TRUE(stairs.detected);
  EXPECT_EQ(stairs.direction, Right);
  ASSERT_EQ(stairs.risers.size(), 3);
  ASSERT_EQ(stairs.treads.size(), 3);
  EXPECT_EQ(stairs.risers[0], points.mid(0, 6));
  EXPECT_EQ(stairs.treads[0], points.mid(5, 6));
  EXPECT_EQ(stairs.treads[2], points.mid(23, 7));
}

TEST(DetectStairs, AKinkBetweenLinesOfDifferentOrientationIsLeftOut)
{
  // A two-segment diagonal shortcut at the corner between a tread and a riser:
  // the point in its middle belongs to neither line.
  const QPolygonF points = stroke({{0, 120}, {0, 110}, {0, 100}, {0, 90}, {0, 80},
                                   {10, 80}, {20, 80}, {30, 80},
                                   {35, 75}, {40, 70},
                                   {40, 60}, {40, 50}, {40, 40},
                                   {50, 40}, {60, 40}, {70, 40}, {80, 40},
                                   {80, 30}, {80, 20}, {80, 10}, {80, 0},
                                   {90, 0}, {100, 0}, {110, 0}, {120, 0}});
  const Stairs stairs = detect(pathOf({points}));
  ASSERT_TRUE(stairs.detected);
  EXPECT_EQ(stairs.treads[0], points.mid(4, 4));
  EXPECT_EQ(stairs.risers[1], points.mid(9, 4));
}

TEST(DetectStairs, OneSegmentPerLineIsOneDiagonalLine)
{
  LogCapture log("bv.shapewise");
  EXPECT_FALSE(detect(pathOf({stepCorners})).detected);
  EXPECT_EQ(log.lines(), QStringList{"Stairs detection: Found a line of undetermined orientation"});
}

TEST(DetectStairs, LinesLongerThanTheirShareOfTheDrawingAreRefused)
{
  // Overlapping steps of separate strokes: the drawing is 110 wide, so treads
  // may be 71.5 long at most.
  LogCapture log("bv.shapewise");
  const Stairs stairs =
    detect(pathOf({stroke({{0, 120}, {0, 80}}), stroke({{0, 80}, {100, 80}}), stroke({{10, 80}, {10, 40}}),
                   stroke({{10, 40}, {110, 40}})}));
  EXPECT_FALSE(stairs.detected);
  EXPECT_EQ(log.lines(), QStringList{"Stairs detection: Horizontail line has incorrect length = 100"});
  EXPECT_TRUE(stairs.treads.isEmpty());

  LogCapture tallLog("bv.shapewise");
  EXPECT_FALSE(detect(pathOf({stroke({{0, 100}, {0, 0}}), stroke({{0, 0}, {40, 0}})})).detected);
  EXPECT_EQ(tallLog.lines(), QStringList{"Stairs detection: Vertical line has incorrect length = 100"});

  LogCapture shortLog("bv.shapewise");
  const QPolygonF tiny = stroke({{0, 120}, {0, 80}, {40, 80}, {40, 75}, {80, 75}, {80, 0}, {120, 0}});
  EXPECT_FALSE(detect(pathOf({subdivided(tiny, 2)})).detected);
  EXPECT_EQ(shortLog.lines(), QStringList{"Stairs detection: Vertical line has incorrect length = 5"});
}

TEST(DetectStairs, LinesMustAlternateAndKeepClimbingOneWay)
{
  LogCapture log("bv.shapewise");
  EXPECT_FALSE(detect(pathOf({stroke({{0, 80}, {40, 80}}), stroke({{40, 40}, {80, 40}})})).detected);
  EXPECT_EQ(log.lines(), QStringList{"Stairs detection: Line orientation does not match the expected one"});

  // Two steps up, then down again: the fifth line breaks the order.
  LogCapture orderLog("bv.shapewise");
  Direction direction = Down;
  QList<QPolygonF> treads;
  QList<QPolygonF> risers;
  EXPECT_FALSE(DetectStairs(
    pathOf({subdivided(stroke({{0, 120}, {0, 80}, {40, 80}, {40, 40}, {80, 40}, {80, 80}, {120, 80}}), 10)}),
    treads, risers, direction));
  EXPECT_EQ(orderLog.lines(),
            QStringList{"Stairs detection: Line position violates the expected lines order or stairs direction; line "
                        "center = QPointF(80,60) previous line center = QPointF(60,40)"});
  // The direction was set by the first pair before the drawing was refused.
  EXPECT_EQ(direction, Right);
}

TEST(DetectStairs, ALineCenteredOnTheOriginStillCounts)
{
  // The first riser is centred on (0, 0) and the first tread goes left of it,
  // while the rest of the flight rises to the right: the first pair disagrees.
  LogCapture log("bv.shapewise");
  EXPECT_FALSE(detect(pathOf({stroke({{0, 20}, {0, -20}}), stroke({{-40, -20}, {0, -20}}), stroke({{0, -20}, {0, -60}}),
                              stroke({{0, -60}, {40, -60}}), stroke({{40, -60}, {40, -100}}),
                              stroke({{40, -100}, {80, -100}})}))
                 .detected);
  EXPECT_EQ(log.lines(),
            QStringList{"Stairs detection: Line position violates the expected lines order or stairs direction; line "
                        "center = QPointF(0,-40) previous line center = QPointF(-20,-20)"});
}

TEST(DetectStairs, DrawingsWithoutEnoughToWorkOn)
{
  LogCapture log("bv.shapewise");
  EXPECT_FALSE(detect(QPainterPath()).detected);
  EXPECT_FALSE(detect(pathOf({subdivided(stroke({{0, 15}, {0, 0}, {15, 0}}), 3)})).detected);
  // A click without a drag widens the drawing without making a line.
  QPainterPath horizontalOnly;
  horizontalOnly.moveTo(50, 100);
  horizontalOnly.lineTo(100, 100);
  horizontalOnly.moveTo(0, 0);
  EXPECT_FALSE(detect(horizontalOnly).detected);
  QPainterPath verticalOnly;
  verticalOnly.moveTo(100, 50);
  verticalOnly.lineTo(100, 100);
  verticalOnly.moveTo(0, 0);
  EXPECT_FALSE(detect(verticalOnly).detected);
  EXPECT_EQ(log.lines(), (QStringList{"Stairs detection: Too little polylines for detection",
                                      "Stairs detection: The drawing is too small for stairs",
                                      "Stairs detection: No vertical lines were found",
                                      "Stairs detection: No horizontal lines were found"}));
}
