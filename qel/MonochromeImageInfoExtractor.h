#pragma once

#include <memory>

class QImage;

namespace qel
{
class FrequencyMatrixSizesProvider;
class MonochromeImageInfo;

/// Computes signatures on the grids its provider selects.
class MonochromeImageInfoExtractor
{
public:
  /// Without a provider no grid is selected, so Run gives null.
  MonochromeImageInfoExtractor();
  /// \a provider is not owned and must outlive every Run; null means none.
  explicit MonochromeImageInfoExtractor(FrequencyMatrixSizesProvider* provider);
  ~MonochromeImageInfoExtractor();
  MonochromeImageInfoExtractor(const MonochromeImageInfoExtractor&) = delete;
  MonochromeImageInfoExtractor& operator=(const MonochromeImageInfoExtractor&) = delete;

  /// \a provider is not owned and must outlive every Run; null means none.
  void SetFrequencyMatrixSizesProvider(FrequencyMatrixSizesProvider* provider);

  /// The picture as Run wants it: monochrome (any format other than Format_Mono
  /// goes through ConvertToMonochrome) and trimmed to its ink; a null image when
  /// there is no ink. Throws ImageIsEmpty for a null or zero-sized image.
  QImage PrepareImage(const QImage& image) const;

  /// The signature of a prepared picture, owned by the caller; null when the
  /// provider selects no grid of at least 1 x 1. Throws ImageIsEmpty for a null image or one without
  /// ink, ImageIsNotMonochrome unless it is Format_Mono or Format_MonoLSB.
  MonochromeImageInfo* Run(const QImage& image) const;

private:
  std::unique_ptr<FrequencyMatrixSizesProvider> m_dummyProvider;
  FrequencyMatrixSizesProvider* m_provider = nullptr;
};

/// The signature of any picture on the game's grids (13 x 13 and the grids of the
/// same perimeter with odd sides, selected within a stretchness of 0.75), owned by
/// the caller; null when the picture has no ink or no grid fits it.
MonochromeImageInfo* CalculateMonochromeImageInfo(const QImage& image);
} // namespace qel
