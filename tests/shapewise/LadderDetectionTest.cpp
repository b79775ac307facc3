#include "LogCapture.h"
#include "ShapewiseTestSupport.h"

#include "shapewise/SpecialObjectsDetection.h"

#include <gtest/gtest.h>

#include <vector>

using namespace shapewise;
using namespace shapewisetest;

namespace
{
struct Ladder
{
  bool detected = false;
  QList<QPolygonF> left;
  QList<QPolygonF> right;
  LadderCleats cleats;
};

Ladder detect(const QPainterPath& path)
{
  Ladder ladder;
  ladder.detected = DetectLadder(path, ladder.left, ladder.right, ladder.cleats);
  return ladder;
}

/// Planks at x = 0 and x = 60 from y = 0 to \a height, full-width cleats at
/// \a cleatYs, drawn in that order, then \a extra strokes.
QPainterPath ladderPath(double height, const std::vector<double>& cleatYs, const std::vector<QPolygonF>& extra = {})
{
  QPainterPath path = pathOf({stroke({{0, 0}, {0, height}}), stroke({{60, height}, {60, 0}})});
  for (const double y : cleatYs)
    path.addPolygon(subdivided(stroke({{0, y}, {60, y}}), 10));
  for (const QPolygonF& polygon : extra)
    path.addPolygon(polygon);
  return path;
}

std::vector<double> keys(const LadderCleats& cleats)
{
  std::vector<double> result;
  for (const auto& cleat : cleats)
    result.push_back(cleat.first);
  return result;
}

const char* const Limits = "min allowed distance is 12 max allowed distance is 120";
} // namespace

TEST(DetectLadder, SortsStrokesIntoPlanksAndCleatsFromTheTop)
{
  LogCapture log("bv.shapewise");
  const QPolygonF lowerLeft = stroke({{2, 100}, {0, 200}});
  const Ladder ladder = detect(pathOf({stroke({{0, 0}, {1, 100}}), stroke({{0, 120}, {60, 121}, {58, 118}}),
                                       stroke({{60, 0}, {60, 200}}), stroke({{0, 40}, {60, 40}}), lowerLeft,
                                       stroke({{60, 80}, {0, 80}}), stroke({{0, 160}, {60, 160}})}));

  ASSERT_TRUE(ladder.detected);
  EXPECT_TRUE(log.lines().isEmpty());
  ASSERT_EQ(ladder.left.size(), 2);
  EXPECT_EQ(ladder.left[1], lowerLeft);
  EXPECT_EQ(ladder.right.size(), 1);
  // Keyed by the mean y of the stroke's points.
  EXPECT_EQ(keys(ladder.cleats), (std::vector<double>{40, 80, (120 + 121 + 118) / 3.0, 160}));
  EXPECT_EQ(ladder.cleats.begin()->second, stroke({{0, 40}, {60, 40}}));
}

TEST(DetectLadder, ThreeStrokesOrFewerAreNoLadderAndSayNothing)
{
  LogCapture log("bv.shapewise");
  EXPECT_FALSE(detect(ladderPath(200, {100})).detected);
  EXPECT_TRUE(log.lines().isEmpty());
}

TEST(DetectLadder, PlanksLieInTheOuterThirtyFivePercent)
{
  // 21 / 60 = 0.35 still counts as left, 39 / 60 = 0.65 as right.
  const Ladder ladder =
    detect(ladderPath(200, {40, 80, 120, 160}, {stroke({{21, 0}, {21, 30}}), stroke({{39, 0}, {39, 30}})}));
  ASSERT_TRUE(ladder.detected);
  EXPECT_EQ(ladder.left.size(), 2);
  EXPECT_EQ(ladder.right.size(), 2);

  LogCapture log("bv.shapewise");
  const Ladder middle = detect(ladderPath(200, {40, 80, 120, 160}, {stroke({{30, 0}, {30, 30}})}));
  EXPECT_FALSE(middle.detected);
  EXPECT_EQ(log.lines(),
            QStringList{"Ladder detection: vertical plank x = 30 is not positioned to left nor to right of the ladder"});
  EXPECT_TRUE(middle.left.isEmpty());
  EXPECT_TRUE(middle.cleats.empty());
}

TEST(DetectLadder, CleatsSpanAtLeastFortyPercentOfTheWidth)
{
  LogCapture log("bv.shapewise");
  // 24 / 60 = 0.4 is a cleat (at y = 100); 23 is skipped.
  const Ladder ladder =
    detect(ladderPath(200, {40, 80, 120, 160}, {stroke({{10, 100}, {34, 100}}), stroke({{10, 60}, {33, 60}})}));
  ASSERT_TRUE(ladder.detected);
  EXPECT_EQ(keys(ladder.cleats), (std::vector<double>{40, 80, 100, 120, 160}));
  EXPECT_EQ(log.lines(), QStringList{"Ladder detection: skipping a horizontal line that is too small for a cleat"});
}

TEST(DetectLadder, EveryStrokeMustBeHorizontalOrVertical)
{
  LogCapture log("bv.shapewise");
  EXPECT_FALSE(detect(ladderPath(200, {40, 80, 120, 160}, {stroke({{0, 0}, {60, 60}})})).detected);
  EXPECT_EQ(log.lines(), QStringList{"Ladder detection: found a line of undetermined orientation"});
}

TEST(DetectLadder, NeedsBothPlanksAndCleats)
{
  LogCapture log("bv.shapewise");
  EXPECT_FALSE(detect(pathOf({stroke({{60, 0}, {60, 200}}), stroke({{0, 40}, {60, 40}}), stroke({{0, 80}, {60, 80}}),
                              stroke({{0, 120}, {60, 120}})}))
                 .detected);
  EXPECT_FALSE(detect(pathOf({stroke({{0, 0}, {0, 200}}), stroke({{0, 40}, {60, 40}}), stroke({{0, 80}, {60, 80}}),
                              stroke({{0, 120}, {60, 120}})}))
                 .detected);
  EXPECT_FALSE(detect(pathOf({stroke({{0, 0}, {0, 200}}), stroke({{3, 0}, {3, 200}}), stroke({{60, 0}, {60, 200}}),
                              stroke({{57, 0}, {57, 200}})}))
                 .detected);
  EXPECT_EQ(log.lines(), (QStringList{"Ladder detection: Could not find lines for the left plank",
                                      "Ladder detection: Could not find lines for the right plank",
                                      "Ladder detection: Could not find lines for ladder cleats"}));
}

TEST(DetectLadder, SpacingLimitsAreInclusive)
{
  // Width 60: cleats 12 to 120 apart, and as far from the top and the bottom.
  EXPECT_TRUE(detect(ladderPath(200, {12, 60, 110, 160})).detected);
  EXPECT_TRUE(detect(ladderPath(300, {60, 180, 200, 220})).detected);
  EXPECT_TRUE(detect(ladderPath(200, {40, 80, 120, 188})).detected);
  EXPECT_TRUE(detect(ladderPath(300, {120, 140, 160, 180})).detected);
}

TEST(DetectLadder, CleatsTooCloseOrTooFarApart)
{
  LogCapture log("bv.shapewise");
  EXPECT_FALSE(detect(ladderPath(200, {11, 60, 110, 160})).detected);
  EXPECT_FALSE(detect(ladderPath(300, {121, 140, 160, 180})).detected);
  EXPECT_FALSE(detect(ladderPath(200, {40, 51, 120, 160})).detected);
  EXPECT_FALSE(detect(ladderPath(300, {60, 181, 200, 220})).detected);
  EXPECT_FALSE(detect(ladderPath(200, {40, 80, 120, 189})).detected);
  EXPECT_FALSE(detect(ladderPath(400, {40, 80, 120, 160})).detected);
  const QString limits = QString::fromLatin1(Limits);
  EXPECT_EQ(log.lines(), (QStringList{"Ladder detection: first cleat with y = 11 is positioned invalid: " + limits,
                                      "Ladder detection: first cleat with y = 121 is positioned invalid: " + limits,
                                      "Ladder detection: cleats y = 40 and y = 51 are positioned invalid: " + limits,
                                      "Ladder detection: cleats y = 60 and y = 181 are positioned invalid: " + limits,
                                      "Ladder detection: last cleat with y = 189 is positioned invalid: " + limits +
                                        " while ladder height is 200",
                                      "Ladder detection: last cleat with y = 160 is positioned invalid: " + limits +
                                        " while ladder height is 400"}));
}
