#include "ShapewiseTestSupport.h"

#include "shapewise/LineOrientation.h"

#include <gtest/gtest.h>

using namespace shapewise;
using shapewisetest::stroke;

TEST(GetLineOrientation, ThirtyDegreesAroundEachAxis)
{
  EXPECT_EQ(GetLineOrientation({3, 4}, {3, 4}), Diagonal);
  EXPECT_EQ(GetLineOrientation({0, 0}, {0.0005, 0.0009}), Diagonal);
  EXPECT_EQ(GetLineOrientation({0, 0}, {0, 5}), Vertical);
  EXPECT_EQ(GetLineOrientation({0, 0}, {0.001, -5}), Vertical);
  EXPECT_EQ(GetLineOrientation({0, 0}, {-7, 0.001}), Horizontal);
  EXPECT_EQ(GetLineOrientation({0, 0}, {10, 5}), Horizontal);
  EXPECT_EQ(GetLineOrientation({0, 0}, {10, 10}), Diagonal);
  EXPECT_EQ(GetLineOrientation({0, 0}, {10, 18}), Vertical);
  EXPECT_EQ(GetLineOrientation({10, 18}, {0, 0}), Vertical);
  // Just inside and outside the limits: tan 30 = 0.57735, tan 60 = 1.73205.
  EXPECT_EQ(GetLineOrientation({0, 0}, {1000, 577.3}), Horizontal);
  EXPECT_EQ(GetLineOrientation({0, 0}, {1000, 577.4}), Diagonal);
  EXPECT_EQ(GetLineOrientation({0, 0}, {1000, 1732.0}), Diagonal);
  EXPECT_EQ(GetLineOrientation({0, 0}, {1000, 1732.1}), Vertical);
}

TEST(GetPolylineOrientation, FollowsTheChordUnlessTheLineWandersOff)
{
  EXPECT_EQ(GetPolylineOrientation(QPolygonF()), Diagonal);
  EXPECT_EQ(GetPolylineOrientation(stroke({{1, 1}})), Diagonal);
  EXPECT_EQ(GetPolylineOrientation(stroke({{0, 0}, {0, 30}})), Vertical);
  EXPECT_EQ(GetPolylineOrientation(stroke({{0, 0}, {20, 2}, {40, -1}, {60, 1}})), Horizontal);
  EXPECT_EQ(GetPolylineOrientation(stroke({{0, 0}, {3, 20}, {-2, 40}})), Vertical);
  // Right 100 and back 20: chord 80, width 100, 100 / 80 >= 1.1.
  EXPECT_EQ(GetPolylineOrientation(stroke({{0, 0}, {100, 0}, {80, 0}})), Diagonal);
  // Back 9 of 100: 100 / 91 < 1.1.
  EXPECT_EQ(GetPolylineOrientation(stroke({{0, 0}, {100, 0}, {91, 0}})), Horizontal);
  EXPECT_EQ(GetPolylineOrientation(stroke({{0, 0}, {0, 50}, {0, 40}})), Diagonal);
  // A horizontal chord whose bounding box is tall: an L is not a line.
  EXPECT_EQ(GetPolylineOrientation(stroke({{0, 0}, {0, 60}, {50, 60}, {50, 5}})), Diagonal);
  // A closed loop has no chord.
  EXPECT_EQ(GetPolylineOrientation(stroke({{0, 0}, {30, 0}, {30, 5}, {0, 0}})), Diagonal);
}
