#include "QelTestSupport.h"

#include "qel/Exceptions.h"
#include "qel/FrequencyMatrixSizesProvider.h"
#include "qel/MonochromeImageInfo.h"
#include "qel/MonochromeImageInfoExtractor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <type_traits>

using namespace qel;
using qeltest::whiteImage;
using Size = FrequencyMatrix::Size;

static_assert(!std::is_copy_constructible_v<MonochromeImageInfo> && !std::is_copy_assignable_v<MonochromeImageInfo>,
              "a signature owns its matrices: a copy would delete them twice");

namespace
{
std::vector<Size> sizesOf(const MonochromeImageInfo& info)
{
  const std::list<Size> sizes = info.GetMatrixSizes();
  return std::vector<Size>(sizes.begin(), sizes.end());
}

double sumOf(const FrequencyMatrix& matrix)
{
  double sum = 0;
  for (double value : matrix.GetValues())
    sum += value;
  return sum;
}

QImage monoImage(int width, int height)
{
  QImage image(width, height, QImage::Format_MonoLSB);
  image.setColorCount(2);
  image.setColor(0, 0xFFFFFFFF);
  image.setColor(1, 0xFF000000);
  image.fill(0);
  return image;
}

/// A signature with one matrix of the given size holding the given values.
std::unique_ptr<MonochromeImageInfo> signature(Size size, const std::vector<double>& values, const QString& id = {})
{
  auto info = std::make_unique<MonochromeImageInfo>(id);
  FrequencyMatrix* matrix = info->AddFrequencyMatrix(size);
  for (size_t k = 0; k < values.size(); ++k)
    matrix->SetValue(int(k) % size.width, int(k) / size.width, values[k]);
  return info;
}

class CountingProvider : public FrequencyMatrixSizesProvider
{
public:
  explicit CountingProvider(std::list<Size> sizes)
    : m_sizes(std::move(sizes))
  {
  }
  std::list<Size> Run(int, int) const override { return m_sizes; }

private:
  std::list<Size> m_sizes;
};

/// Compares every pair under every limit: a difference at or below the limit
/// comes out exactly, one above it as some value above the limit. Returns how
/// many results were at or below their limit.
int checkLimits(const std::vector<std::unique_ptr<MonochromeImageInfo>>& infos, std::vector<double> limits)
{
  int below = 0;
  for (const auto& a : infos)
  {
    for (const auto& b : infos)
    {
      const double exact = MonochromeImagesDifference(*a, *b);
      // Limits a rounding error away from the difference, where a shortcut that
      // adds the terms in another order would decide wrongly.
      std::vector<double> all = limits;
      all.insert(all.end(), {std::nextafter(exact, 0.0), exact, std::nextafter(exact, 2.0 * exact)});
      for (const double limit : all)
      {
        const double bounded = MonochromeImagesDifference(*a, *b, limit);
        if (exact <= limit)
        {
          EXPECT_EQ(bounded, exact) << "limit " << limit;
          ++below;
        }
        else
        {
          EXPECT_GT(bounded, limit);
        }
      }
    }
  }
  return below;
}
} // namespace

TEST(MonochromeImageInfo, AddingASizeAgainReplacesItAndMovesItToTheEnd)
{
  MonochromeImageInfo info;
  EXPECT_TRUE(info.GetId().isNull());
  FrequencyMatrix* first = info.AddFrequencyMatrix(13, 13);
  info.AddFrequencyMatrix(Size{11, 15});
  first->SetValue(0, 0, 1.0);
  auto* replacement = new FrequencyMatrix(13, 13);
  info.AddFrequencyMatrix(replacement);

  EXPECT_EQ(sizesOf(info), (std::vector<Size>{{11, 15}, {13, 13}}));
  EXPECT_EQ(info.FindFrequencyMatrix(13, 13), replacement);
  EXPECT_EQ(info.FindFrequencyMatrix(13, 13)->GetValue(0, 0), 0.0);
  EXPECT_EQ(info.FindFrequencyMatrix(Size{15, 11}), nullptr);

  info.AddFrequencyMatrix(nullptr);
  EXPECT_EQ(info.GetMatrixCount(), 2);
}

TEST(MonochromeImageInfo, RemovingMatrices)
{
  MonochromeImageInfo info(QStringLiteral("apple"));
  EXPECT_EQ(info.GetId(), QStringLiteral("apple"));
  info.AddFrequencyMatrix(1, 25);
  info.AddFrequencyMatrix(13, 13);
  info.AddFrequencyMatrix(25, 1);

  EXPECT_FALSE(info.RemoveFrequencyMatrix(3, 23));
  EXPECT_EQ(info.GetMatrixCount(), 3);
  EXPECT_TRUE(info.RemoveFrequencyMatrix(Size{13, 13}));
  EXPECT_EQ(sizesOf(info), (std::vector<Size>{{1, 25}, {25, 1}}));
  info.RemoveAllFrequencyMatrices();
  EXPECT_EQ(info.GetMatrixCount(), 0);
}

TEST(MonochromeImageInfo, MovingTransfersTheMatrices)
{
  MonochromeImageInfo source(QStringLiteral("key"));
  const FrequencyMatrix* matrix = source.AddFrequencyMatrix(13, 13);
  const MonochromeImageInfo target(std::move(source));
  EXPECT_EQ(target.FindFrequencyMatrix(13, 13), matrix);
  EXPECT_EQ(target.GetId(), QStringLiteral("key"));
}

TEST(Extractor, SingleInkPixelFillsTheFirstCellOfEachGrid)
{
  QImage image = whiteImage(30, 20);
  image.setPixel(12, 7, qRgb(0, 0, 0));
  const std::unique_ptr<MonochromeImageInfo> info(CalculateMonochromeImageInfo(image));

  ASSERT_NE(info, nullptr);
  EXPECT_TRUE(info->GetId().isNull());
  EXPECT_EQ(sizesOf(*info), (std::vector<Size>{{11, 15}, {13, 13}, {15, 11}}));
  for (int i = 0; i < info->GetMatrixCount(); ++i)
  {
    const FrequencyMatrix& matrix = info->GetMatrix(i);
    EXPECT_EQ(matrix.GetValue(0, 0), 1.0);
    EXPECT_EQ(sumOf(matrix), 1.0);
  }
}

TEST(Extractor, CellsAreTruncatedPixelFractionsAndValuesAreShares)
{
  // 3 x 2 picture on a 2 x 2 grid: column trunc(x / 3 * 2) is 0, 0, 1 and row
  // trunc(y / 2 * 2) is y; 5 ink pixels.
  QImage image = monoImage(3, 2);
  image.setPixel(0, 0, 1);
  image.setPixel(1, 0, 1);
  image.setPixel(2, 0, 1);
  image.setPixel(2, 1, 1);
  image.setPixel(1, 1, 1);
  CountingProvider provider({Size{2, 2}, Size{1, 1}});
  const MonochromeImageInfoExtractor extractor(&provider);

  const std::unique_ptr<MonochromeImageInfo> info(extractor.Run(image));

  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->FindFrequencyMatrix(2, 2)->GetValues(), (std::vector<double>{2.0 / 5, 1.0 / 5, 1.0 / 5, 1.0 / 5}));
  EXPECT_EQ(info->FindFrequencyMatrix(1, 1)->GetValues(), (std::vector<double>{1.0}));
}

TEST(Extractor, MatchesCountingEveryInkPixelIntoEveryGrid)
{
  // Random pictures, sparse and dense, in both bit orders, against the
  // definition: each ink pixel (x, y) adds 1 to cell (trunc(x / w * cw),
  // trunc(y / h * ch)); then every cell is divided by the ink count.
  std::mt19937 random(9);
  const std::list<Size> sizes{Size{11, 15}, Size{13, 13}, Size{15, 11}, Size{4, 1}};
  CountingProvider provider(sizes);
  const MonochromeImageInfoExtractor extractor(&provider);
  for (const QImage::Format format : {QImage::Format_Mono, QImage::Format_MonoLSB})
  {
    for (int trial = 0; trial < 40; ++trial)
    {
      QImage image(1 + int(random() % 90), 1 + int(random() % 90), format);
      image.setColorTable({0xFFFFFFFF, 0xFF000000});
      image.fill(0);
      const unsigned density = 1 + random() % 20;
      for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
          if (random() % density == 0)
            image.setPixel(x, y, 1);
      image.setPixel(int(random() % image.width()), int(random() % image.height()), 1);

      const std::unique_ptr<MonochromeImageInfo> info(extractor.Run(image));
      ASSERT_NE(info, nullptr);
      ASSERT_EQ(info->GetMatrixCount(), 4);
      for (const Size size : sizes)
      {
        FrequencyMatrix expected(size);
        int ink = 0;
        for (int x = 0; x < image.width(); ++x)
        {
          for (int y = 0; y < image.height(); ++y)
          {
            if (image.pixelIndex(x, y) == 0)
              continue;
            ++ink;
            const int column = int(double(x) / image.width() * size.width);
            const int row = int(double(y) / image.height() * size.height);
            expected.SetValue(column, row, expected.GetValue(column, row) + 1.0);
          }
        }
        expected /= ink;
        EXPECT_EQ(*info->FindFrequencyMatrix(size), expected) << format << " " << image.width() << "x" << image.height();
      }
    }
  }
}

TEST(Extractor, TheLastPixelColumnNeverReachesPastTheGrid)
{
  // A full 40 x 1 line: stretchness 5.32 selects 25 x 1 only; pixel 39 maps to
  // column trunc(39 / 40 * 25) = 24.
  QImage image = whiteImage(40, 1);
  image.fill(0xFF000000);
  const std::unique_ptr<MonochromeImageInfo> info(CalculateMonochromeImageInfo(image));
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(sizesOf(*info), (std::vector<Size>{{25, 1}}));
  EXPECT_GT(info->GetMatrix(0).GetValue(24, 0), 0.0);
  EXPECT_DOUBLE_EQ(sumOf(info->GetMatrix(0)), 1.0);
}

TEST(Extractor, NoSelectedGridGivesNullAndNoInkThrows)
{
  const MonochromeImageInfoExtractor withoutProvider;
  QImage image = monoImage(5, 5);
  image.setPixel(2, 2, 1);
  EXPECT_EQ(withoutProvider.Run(image), nullptr);

  const std::unique_ptr<FrequencyMatrixSizesProvider> provider(FrequencyMatrixSizesProvider::Create(13, 2, 1, 1.5));
  MonochromeImageInfoExtractor extractor(provider.get());
  EXPECT_THROW(extractor.Run(monoImage(5, 5)), ImageIsEmpty);
  EXPECT_THROW(extractor.Run(QImage()), ImageIsEmpty);
  EXPECT_THROW(extractor.Run(whiteImage(5, 5)), ImageIsNotMonochrome);
  // 64 x 1 is too wide for every grid: null, not an exception, even without ink.
  EXPECT_EQ(extractor.Run(monoImage(64, 1)), nullptr);

  extractor.SetFrequencyMatrixSizesProvider(nullptr);
  EXPECT_EQ(extractor.Run(image), nullptr);
}

TEST(Extractor, GridsWithoutCellsAreSkippedAndRepeatedSizesEndWhereLastListed)
{
  QImage image = monoImage(4, 4);
  image.setPixel(3, 3, 1);
  CountingProvider provider({Size{2, 2}, Size{0, 3}, Size{3, 3}, Size{2, 2}});
  const std::unique_ptr<MonochromeImageInfo> info(MonochromeImageInfoExtractor(&provider).Run(image));
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(sizesOf(*info), (std::vector<Size>{{3, 3}, {2, 2}}));
  EXPECT_EQ(info->FindFrequencyMatrix(2, 2)->GetValue(1, 1), 1.0);
}

TEST(CalculateMonochromeImageInfo, PicturesWithoutSignature)
{
  EXPECT_EQ(CalculateMonochromeImageInfo(whiteImage(20, 20)), nullptr);
  EXPECT_EQ(CalculateMonochromeImageInfo(QImage()), nullptr);
  QImage line = whiteImage(100, 10);
  for (int x = 10; x < 74; ++x)
    line.setPixel(x, 5, qRgb(0, 0, 0));
  EXPECT_EQ(CalculateMonochromeImageInfo(line), nullptr);
}

TEST(Difference, PairsFollowTheFirstSignaturesOrder)
{
  MonochromeImageInfo a;
  a.AddFrequencyMatrix(15, 11);
  a.AddFrequencyMatrix(13, 13);
  a.AddFrequencyMatrix(17, 9);
  MonochromeImageInfo b;
  b.AddFrequencyMatrix(13, 13);
  b.AddFrequencyMatrix(11, 15);
  b.AddFrequencyMatrix(15, 11);

  const auto pairs = FindMatrixPairsOfCommonSize(a, b);
  ASSERT_EQ(pairs.size(), 2u);
  EXPECT_EQ(pairs.front().first, a.FindFrequencyMatrix(15, 11));
  EXPECT_EQ(pairs.front().second, b.FindFrequencyMatrix(15, 11));
  EXPECT_EQ(pairs.back().first, a.FindFrequencyMatrix(13, 13));
  EXPECT_EQ(pairs.back().second, b.FindFrequencyMatrix(13, 13));
}

TEST(Difference, IsTheSmallestChiSquareSumOverCommonGrids)
{
  // On 2 x 1 the floor is 1/2: (0.5 - 0)^2 / max(0.5, 0.5) + (0.5 - 1)^2 / max(0.5, 1.5) = 0.5 + 1/6.
  const auto a = signature(Size{2, 1}, {0.5, 0.5});
  const auto b = signature(Size{2, 1}, {0.0, 1.0});
  EXPECT_DOUBLE_EQ(MonochromeImagesDifference(*a, *b), 0.5 + 0.25 / 1.5);
  // The floor applies when both values are small: (0.1 - 0)^2 / 0.5 = 0.02.
  const auto c = signature(Size{2, 1}, {0.1, 0.0});
  const auto d = signature(Size{2, 1}, {0.0, 0.0});
  EXPECT_DOUBLE_EQ(MonochromeImagesDifference(*c, *d), 0.02);

  // A second common grid with a smaller sum wins.
  FrequencyMatrix* same = a->AddFrequencyMatrix(1, 1);
  same->SetValue(0, 0, 1.0);
  b->AddFrequencyMatrix(1, 1)->SetValue(0, 0, 1.0);
  EXPECT_EQ(MonochromeImagesDifference(*a, *b), 0.0);
}

TEST(Difference, SameOrEqualSignaturesAreZeroAndUnrelatedOnesFarApart)
{
  const auto a = signature(Size{2, 1}, {0.25, 0.75});
  const auto b = signature(Size{2, 1}, {0.25, 0.75});
  EXPECT_EQ(MonochromeImagesDifference(*a, *a), 0.0);
  EXPECT_EQ(MonochromeImagesDifference(*a, *b), 0.0);
  const auto other = signature(Size{1, 2}, {0.25, 0.75});
  EXPECT_EQ(MonochromeImagesDifference(*a, *other), NoCommonGridDifference);

  // A NaN value makes its grid useless, not the result NaN.
  const auto broken = signature(Size{2, 1}, {std::numeric_limits<double>::quiet_NaN(), 0.5});
  EXPECT_EQ(MonochromeImagesDifference(*broken, *a), NoCommonGridDifference);
}

TEST(Difference, ALimitChangesOnlyResultsAboveIt)
{
  std::mt19937 random(7);
  const auto infos = qeltest::randomSignatures(random, 20, {Size{11, 15}, Size{13, 13}, Size{15, 11}});
  EXPECT_GT(checkLimits(infos, {0.0, 0.5, 1.0, 1.5, 3.0}), 1000);
  // Grids whose cells all fall in whole blocks of a faster first pass, with
  // nothing left over to hide its rounding.
  const auto blocks = qeltest::randomSignatures(random, 30, {Size{16, 4}});
  EXPECT_GT(checkLimits(blocks, {}), 1000);
}

TEST(DistanceSquared, IsTheSquaredModulusOfTheDifference)
{
  EXPECT_EQ(DistanceSquared(std::complex<double>(1, 2), std::complex<double>(4, -2)), 25.0);
}
