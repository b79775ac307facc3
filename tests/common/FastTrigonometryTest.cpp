#include "common/Angles.h"
#include "common/FastTrigonometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

class FastTrigonometry : public testing::Test
{
protected:
  void SetUp() override { InitFastTrigonometry(); }
};

TEST_F(FastTrigonometry, TablesMatchTheMathLibrary)
{
  for (double degrees = 0; degrees <= 360; degrees += 7.5)
  {
    const double exact = Degrees2Radians(std::trunc(degrees / 0.1) * 0.1);
    EXPECT_NEAR(FastSin(degrees), std::sin(exact), 1e-9) << degrees;
    EXPECT_NEAR(FastCos(degrees), std::cos(exact), 1e-9) << degrees;
  }
  EXPECT_EQ(FastSin(0), 0);
  EXPECT_EQ(FastCos(0), 1);
  EXPECT_NEAR(FastTan(45), 1, 1e-9);
  EXPECT_GT(std::abs(FastTan(90)), 1e9);
}

TEST_F(FastTrigonometry, IndexIsTruncated)
{
  // 0.3 / 0.1 is slightly below 3: entry 2, i.e. 0.2 degrees.
  EXPECT_EQ(FastSin(0.3), FastSin(0.2));
  EXPECT_NE(FastSin(0.3), FastSin(0.4));
}

TEST_F(FastTrigonometry, SafeVariantsWrapAnyAngle)
{
  EXPECT_EQ(FastSafeSin(-30), FastSin(330));
  EXPECT_EQ(FastSafeCos(720), FastCos(360));
  EXPECT_EQ(FastSafeTan(-400), FastTan(320));
  EXPECT_EQ(FastSafeSin(360), FastSin(360));
  InitFastTrigonometry(); // again: harmless
  EXPECT_EQ(FastSafeSin(-30), FastSin(330));
}

TEST_F(FastTrigonometry, SafeVariantsReduceHugeAnglesAtOnce)
{
  EXPECT_EQ(FastSafeSin(360.0 * 1e6 + 30), FastSin(30));
  EXPECT_EQ(FastSafeCos(-360.0 * 1e6 - 30), FastCos(330));
  // Far beyond 2^53 every double is a multiple of 360.
  EXPECT_EQ(FastSafeSin(1e300), FastSin(360));
  EXPECT_EQ(FastSafeSin(-1e300), FastSin(0));
  EXPECT_EQ(FastSafeSin(-360), FastSin(0));
  EXPECT_EQ(FastSafeCos(-1e-300), FastCos(360));
}

TEST_F(FastTrigonometry, SafeVariantsGiveNaNForNonFiniteAngles)
{
  const double infinity = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const double angle : {infinity, -infinity, nan})
  {
    EXPECT_TRUE(std::isnan(FastSafeSin(angle))) << angle;
    EXPECT_TRUE(std::isnan(FastSafeCos(angle))) << angle;
    EXPECT_TRUE(std::isnan(FastSafeTan(angle))) << angle;
  }
}
