#include "common/OperationTimeMeasurer.h"

#include <gtest/gtest.h>

#include <ctime>

TEST(OperationTimeMeasurer, AveragesAreZeroUntilAnOperationCompletes)
{
  OperationTimeMeasurer measurer("idle");
  EXPECT_EQ(measurer.AverageSecondsPerOperation(), 0);
  EXPECT_EQ(measurer.AverageTicksPerOperation(), 0);
  EXPECT_EQ(measurer.Display(), "Average seconds per idle operation = 0");
}

TEST(OperationTimeMeasurer, AccumulatesProcessorTime)
{
  OperationTimeMeasurer measurer("busy");
  for (int i = 0; i < 2; ++i)
  {
    measurer.Start();
    const clock_t start = clock();
    while (clock() - start < CLOCKS_PER_SEC / 100)
    {
    }
    measurer.Stop();
  }
  EXPECT_GE(measurer.AverageTicksPerOperation(), CLOCKS_PER_SEC / 100.0);
  EXPECT_NEAR(measurer.AverageSecondsPerOperation(), measurer.AverageTicksPerOperation() / CLOCKS_PER_SEC, 1e-12);
}

TEST(OperationTimeMeasurer, RegistryKeepsOneMeasurerPerName)
{
  OperationTimeMeasurer& a = OperationTimeMeasurer::Instance("draw");
  a.Start();
  a.Stop();
  EXPECT_EQ(&OperationTimeMeasurer::Instance("draw"), &a);
  EXPECT_NE(&OperationTimeMeasurer::Instance("load"), &a);
  EXPECT_TRUE(OperationTimeMeasurer::Instance("draw").Display().startsWith("Average seconds per draw operation"));
}
