#include "common/Angles.h"
#include "common/Direction.h"
#include "common/Interpolation.h"

#include <QString>

#include <gtest/gtest.h>

#include <cmath>

TEST(Direction, NamesRoundTripAndParseCaseInsensitively)
{
  for (int i = Left; i <= DownRight; ++i)
  {
    const auto direction = static_cast<Direction>(i);
    EXPECT_EQ(String2Direction(Direction2String(direction), Up), direction);
    EXPECT_EQ(String2Direction(Direction2String(direction).toUpper(), Up), direction);
  }
  EXPECT_EQ(Direction2String(DownLeft), "downleft");
  EXPECT_EQ(String2Direction("UpRight", Left), UpRight);
}

TEST(Direction, UnknownTextsGiveTheDefaultAndUnknownValuesNoName)
{
  EXPECT_EQ(String2Direction("", DownRight), DownRight);
  EXPECT_EQ(String2Direction("sideways", Left), Left);
  EXPECT_EQ(String2Direction(" left", Right), Right);
  EXPECT_TRUE(Direction2String(static_cast<Direction>(8)).isEmpty());
  EXPECT_TRUE(Direction2String(static_cast<Direction>(-1)).isEmpty());
}

TEST(Direction, InverseIsAnInvolutionPointingTheOtherWay)
{
  for (int i = Left; i <= DownRight; ++i)
  {
    const auto direction = static_cast<Direction>(i);
    EXPECT_EQ(InvertDirection(InvertDirection(direction)), direction);
    EXPECT_NE(InvertDirection(direction), direction);
    EXPECT_NEAR(std::cos(Direction2Angle(direction)), -std::cos(Direction2Angle(InvertDirection(direction))), 1e-12);
    EXPECT_NEAR(std::sin(Direction2Angle(direction)), -std::sin(Direction2Angle(InvertDirection(direction))), 1e-12);
    EXPECT_EQ(Direction2Orientation(direction), Direction2Orientation(InvertDirection(direction)));
  }
}

TEST(Direction, AnglesFollowTheMathematicalConvention)
{
  EXPECT_DOUBLE_EQ(Direction2Angle(Left), M_PI);
  EXPECT_DOUBLE_EQ(Direction2Angle(Up), M_PI / 2);
  EXPECT_DOUBLE_EQ(Direction2Angle(DownLeft), -3 * M_PI / 4);
  EXPECT_DOUBLE_EQ(Direction2Degrees(DownRight), -45);
  EXPECT_EQ(Direction2Orientation(Up), Vertical);
  EXPECT_EQ(Direction2Orientation(UpLeft), Diagonal);
  EXPECT_EQ(Direction2Orientation(Right), Horizontal);
}

TEST(Orientation, ParsesCaseInsensitivelyWithDefault)
{
  EXPECT_EQ(String2Orientation("VERTICAL", Horizontal), Vertical);
  EXPECT_EQ(String2Orientation("Diagonal", Horizontal), Diagonal);
  EXPECT_EQ(String2Orientation("slanted", Vertical), Vertical);
  EXPECT_DOUBLE_EQ(Orientation2Degrees(Horizontal), 0);
  EXPECT_DOUBLE_EQ(Orientation2Degrees(Vertical), 90);
  EXPECT_DOUBLE_EQ(Orientation2Degrees(Diagonal), 45);
}

TEST(Angles, ConvertBothWays)
{
  EXPECT_DOUBLE_EQ(Degrees2Radians(180), 3.141592653589793);
  EXPECT_DOUBLE_EQ(Radians2Degrees(3.141592653589793 / 2), 90);
  EXPECT_DOUBLE_EQ(Radians2Degrees(Degrees2Radians(-37.5)), -37.5);
}

TEST(Interpolation, IsLinearAndUnclamped)
{
  const QPointF from(10, -4), to(20, 6);
  EXPECT_EQ(CalculateIntermediatePoint(from, to, 0), from);
  EXPECT_EQ(CalculateIntermediatePoint(from, to, 1), to);
  EXPECT_EQ(CalculateIntermediatePoint(from, to, 0.5), QPointF(15, 1));
  EXPECT_EQ(CalculateIntermediatePoint(from, to, 2), QPointF(30, 16));
}
