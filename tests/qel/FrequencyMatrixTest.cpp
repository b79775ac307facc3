#include "QelTestSupport.h"

#include "qel/Exceptions.h"
#include "qel/FrequencyMatrix.h"
#include "qel/FrequencyMatrixSizesProvider.h"
#include "qel/Stretchness.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

using namespace qel;
using Size = FrequencyMatrix::Size;

namespace
{
std::vector<Size> run(const FrequencyMatrixSizesProvider& provider, int width, int height)
{
  const std::list<Size> sizes = provider.Run(width, height);
  return std::vector<Size>(sizes.begin(), sizes.end());
}

std::vector<Size> gameGrids(int width, int height)
{
  const std::unique_ptr<FrequencyMatrixSizesProvider> provider(FrequencyMatrixSizesProvider::Create(13, 2, 1, 1.5));
  return run(*provider, width, height);
}
} // namespace

TEST(FrequencyMatrix, StoresRowMajorAndChecksTheRange)
{
  FrequencyMatrix matrix(3, 2);
  EXPECT_EQ(matrix.GetSize(), (Size{3, 2}));
  EXPECT_EQ(matrix.GetValues(), std::vector<double>(6, 0.0));

  matrix.SetValue(2, 1, 5.0);
  matrix.SetValue(1, 0, 7.0);
  EXPECT_EQ(matrix.GetValues(), (std::vector<double>{0, 7, 0, 0, 0, 5}));
  EXPECT_EQ(matrix.GetValue(2, 1), 5.0);

  EXPECT_THROW(matrix.GetValue(3, 0), OutOfRange);
  EXPECT_THROW(matrix.GetValue(0, 2), OutOfRange);
  EXPECT_THROW(matrix.GetValue(-1, 0), OutOfRange);
  EXPECT_THROW(matrix.SetValue(0, -1, 1.0), OutOfRange);
  EXPECT_EQ(matrix.GetValues(), (std::vector<double>{0, 7, 0, 0, 0, 5}));

  EXPECT_EQ(FrequencyMatrix().GetSize(), (Size{0, 0}));
  EXPECT_TRUE(FrequencyMatrix().GetValues().empty());
}

TEST(FrequencyMatrix, ScalesAndResets)
{
  FrequencyMatrix matrix(Size{2, 1});
  matrix.SetValue(0, 0, 3.0);
  matrix.SetValue(1, 0, 1.0);
  matrix *= 2.0;
  EXPECT_EQ(matrix.GetValues(), (std::vector<double>{6, 2}));
  matrix /= 4.0;
  EXPECT_EQ(matrix.GetValues(), (std::vector<double>{1.5, 0.5}));
  matrix.Reset();
  EXPECT_EQ(matrix.GetValues(), (std::vector<double>{0, 0}));
}

TEST(FrequencyMatrix, EqualityNeedsEqualSizesAndValuesAndNaNNeverMatches)
{
  FrequencyMatrix a(2, 3);
  FrequencyMatrix b(2, 3);
  EXPECT_TRUE(a == b);
  b.SetValue(1, 2, 0.5);
  EXPECT_TRUE(a != b);
  EXPECT_FALSE(FrequencyMatrix(2, 3) == FrequencyMatrix(3, 2));

  a.SetValue(0, 0, std::numeric_limits<double>::quiet_NaN());
  EXPECT_FALSE(a == a);
}

TEST(FrequencyMatrix, SaveAsImageShadesLargerValuesDarker)
{
  FrequencyMatrix matrix(2, 1);
  matrix.SetValue(0, 0, 1.0);
  QTemporaryDir dir;
  const QString fileName = dir.filePath("matrix.png");
  matrix.SaveAsImage(fileName, 4);

  const QImage image(fileName);
  ASSERT_EQ(image.size(), QSize(8, 4));
  // Inside the cells, away from their black outlines.
  EXPECT_EQ(qGray(image.pixel(1, 1)), 0);
  EXPECT_EQ(qGray(image.pixel(6, 2)), 255);
}

TEST(SizesProvider, TheGameTableHoldsThirteenGridsWithOddSidesSummingTo26)
{
  // A picture far wider than any grid selects the widest grids only, a very tall
  // one the tallest; with a tolerance that covers the whole table every grid
  // comes out, in ascending order of stretchness.
  const std::unique_ptr<FrequencyMatrixSizesProvider> all(FrequencyMatrixSizesProvider::Create(13, 2, 1, 20.0));
  const std::vector<Size> sizes = run(*all, 1, 1);
  ASSERT_EQ(sizes.size(), 13u);
  for (size_t i = 0; i < sizes.size(); ++i)
    EXPECT_EQ(sizes[i], (Size{1 + 2 * int(i), 25 - 2 * int(i)}));
}

TEST(SizesProvider, SelectsTheGridsWithinHalfTheToleranceOfThePicture)
{
  EXPECT_EQ(gameGrids(1, 1), (std::vector<Size>{{11, 15}, {13, 13}, {15, 11}}));
  EXPECT_EQ(gameGrids(200, 100), (std::vector<Size>{{15, 11}, {17, 9}, {19, 7}}));
  EXPECT_EQ(gameGrids(100, 200), (std::vector<Size>{{7, 19}, {9, 17}, {11, 15}}));
  // Stretchness 5.32: 25 x 1 (4.6439) is still within 0.75; at 6 nothing is.
  EXPECT_EQ(gameGrids(40, 1), (std::vector<Size>{{25, 1}}));
  EXPECT_TRUE(gameGrids(64, 1).empty());
  EXPECT_TRUE(gameGrids(1, 64).empty());
}

TEST(SizesProvider, BothBoundsAreInclusive)
{
  // Stretchness exactly 1 and -1 with half a tolerance of exactly 1: the square
  // grid (stretchness 0) lies on the bound.
  const std::unique_ptr<FrequencyMatrixSizesProvider> provider(FrequencyMatrixSizesProvider::Create(13, 2, 1, 2.0));
  const std::vector<Size> wide = run(*provider, 2, 1);
  ASSERT_FALSE(wide.empty());
  EXPECT_EQ(wide.front(), (Size{13, 13}));
  const std::vector<Size> tall = run(*provider, 1, 2);
  ASSERT_FALSE(tall.empty());
  EXPECT_EQ(tall.back(), (Size{13, 13}));

  const double justBelow = std::nextafter(2.0, 0.0);
  const std::unique_ptr<FrequencyMatrixSizesProvider> narrower(
    FrequencyMatrixSizesProvider::Create(13, 2, 1, justBelow));
  EXPECT_NE(run(*narrower, 2, 1).front(), (Size{13, 13}));
}

TEST(SizesProvider, TableRespectsTheMinimalSizeAndOddParameters)
{
  const std::unique_ptr<FrequencyMatrixSizesProvider> provider(FrequencyMatrixSizesProvider::Create(10, 3, 4, 20.0));
  EXPECT_EQ(run(*provider, 1, 1), (std::vector<Size>{{4, 16}, {7, 13}, {10, 10}, {13, 7}, {16, 4}}));

  // When the first step already goes below the minimal size, no wide grid follows.
  const std::unique_ptr<FrequencyMatrixSizesProvider> single(FrequencyMatrixSizesProvider::Create(5, 3, 3, 20.0));
  EXPECT_EQ(run(*single, 1, 1), (std::vector<Size>{{5, 5}}));

  // No step and no cell-less grids: these would never end or never hold ink.
  const std::unique_ptr<FrequencyMatrixSizesProvider> noStep(FrequencyMatrixSizesProvider::Create(13, 0, 1, 20.0));
  EXPECT_EQ(run(*noStep, 1, 1), (std::vector<Size>{{13, 13}}));
  const std::unique_ptr<FrequencyMatrixSizesProvider> zeroMinimum(
    FrequencyMatrixSizesProvider::Create(4, 2, 0, 20.0));
  EXPECT_EQ(run(*zeroMinimum, 1, 1), (std::vector<Size>{{2, 6}, {4, 4}, {6, 2}}));
}

TEST(SizesProvider, DummySelectsNothing)
{
  const std::unique_ptr<FrequencyMatrixSizesProvider> dummy(FrequencyMatrixSizesProvider::CreateDummy());
  EXPECT_TRUE(run(*dummy, 13, 13).empty());
}
