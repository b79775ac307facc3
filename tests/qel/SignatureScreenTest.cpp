#include "QelTestSupport.h"

#include "qel/MonochromeImageInfo.h"
#include "qel/SignatureScreen.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace qel;
using Size = FrequencyMatrix::Size;

namespace
{
using Signatures = std::vector<std::unique_ptr<MonochromeImageInfo>>;

SignatureScreen screenOf(const Signatures& entries)
{
  SignatureScreen screen;
  for (const auto& entry : entries)
    screen.Add(*entry);
  return screen;
}

/// Screens every entry against every picture under bounds at, a rounding error
/// around and just below each exact difference: the screen may only rule out
/// differences above the bound. Returns how many it ruled out at 99% of theirs.
int checkScreen(const Signatures& entries, const Signatures& pictures)
{
  const SignatureScreen screen = screenOf(entries);
  EXPECT_EQ(screen.GetCount(), int(entries.size()));
  int ruledOut = 0;
  for (const auto& picture : pictures)
  {
    const SignatureScreen::Probe probe = screen.Prepare(*picture);
    for (int i = 0; i < screen.GetCount(); ++i)
    {
      const double exact = MonochromeImagesDifference(*entries[i], *picture);
      for (const double bound : {exact, std::nextafter(exact, 0.0), std::nextafter(exact, 2.0 * exact + 1.0),
                                 0.99 * exact, 0.5 * exact, 0.0})
      {
        if (screen.Exceeds(i, probe, bound))
        {
          EXPECT_GT(exact, bound) << "entry " << i << " bound " << bound;
        }
      }
      ruledOut += screen.Exceeds(i, probe, 0.99 * exact);
    }
  }
  return ruledOut;
}
} // namespace

TEST(SignatureScreen, RulesOutOnlyDifferencesAboveTheBound)
{
  std::mt19937 random(11);
  // Grids whose cells fill whole blocks of the screen, and grids with a rest.
  const Signatures entries =
    qeltest::randomSignatures(random, 40, {Size{16, 4}, Size{11, 15}, Size{13, 13}, Size{15, 11}});
  const Signatures pictures = qeltest::randomSignatures(random, 10, {Size{16, 4}, Size{13, 13}, Size{15, 11}});
  // Most differences lie in their first cells, so the screen settles most of
  // them although it leaves the last cells of a grid out.
  EXPECT_GT(checkScreen(entries, pictures), 40 * 10 / 2);
}

TEST(SignatureScreen, ValuesSinglePrecisionCannotHoldNeverMisleadIt)
{
  // Subnormal doubles and floats, values beyond a float's range, NaN and
  // negative values, among ordinary shares.
  const double values[] = {0.0, 1e-320, 1e-40, 3e-39, 1e-3, 0.05, 0.3, 1.0, 1e30, 1e39, -0.02,
                           std::numeric_limits<double>::quiet_NaN()};
  std::mt19937 random(5);
  Signatures signatures;
  for (int i = 0; i < 60; ++i)
  {
    auto info = std::make_unique<MonochromeImageInfo>();
    FrequencyMatrix* matrix = info->AddFrequencyMatrix(Size{8, 8});
    // Mostly ordinary shares, so that many sums are finite.
    const bool unusual = i % 2 == 0;
    for (int k = 0; k < 64; ++k)
      matrix->SetValue(k % 8, k / 8, values[unusual ? random() % 12 : random() % 8]);
    signatures.push_back(std::move(info));
  }
  EXPECT_GT(checkScreen(signatures, signatures), 0);
}

TEST(SignatureScreen, EntriesWithoutACommonGridExceedEveryBoundBelow1e10)
{
  Signatures entries;
  entries.push_back(std::make_unique<MonochromeImageInfo>());
  entries.back()->AddFrequencyMatrix(Size{2, 1})->SetValue(0, 0, 1.0);
  entries.push_back(std::make_unique<MonochromeImageInfo>()); // no grid at all
  const SignatureScreen screen = screenOf(entries);

  MonochromeImageInfo picture;
  picture.AddFrequencyMatrix(Size{13, 13})->SetValue(6, 6, 1.0);
  const SignatureScreen::Probe probe = screen.Prepare(picture);
  for (int i = 0; i < 2; ++i)
  {
    EXPECT_TRUE(screen.Exceeds(i, probe, 1.5));
    EXPECT_TRUE(screen.Exceeds(i, probe, std::nextafter(NoCommonGridDifference, 0.0)));
    EXPECT_FALSE(screen.Exceeds(i, probe, NoCommonGridDifference));
  }
}

TEST(SignatureScreen, ClearForgetsTheEntries)
{
  std::mt19937 random(2);
  const Signatures entries = qeltest::randomSignatures(random, 3, {Size{13, 13}});
  SignatureScreen screen = screenOf(entries);
  screen.Clear();
  EXPECT_EQ(screen.GetCount(), 0);
  screen.Add(*entries[2]);
  const SignatureScreen::Probe probe = screen.Prepare(*entries[0]);
  EXPECT_EQ(screen.GetCount(), 1);
  EXPECT_TRUE(screen.Exceeds(0, probe, 0.5 * MonochromeImagesDifference(*entries[2], *entries[0])));
}
