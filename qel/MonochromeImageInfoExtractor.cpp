#include "qel/MonochromeImageInfoExtractor.h"

#include "qel/Exceptions.h"
#include "qel/FrequencyMatrixSizesProvider.h"
#include "qel/ImageConversions.h"
#include "qel/MonochromeImageInfo.h"
#include "qel/TrimImage.h"

#include <QImage>

#include <vector>

namespace qel
{
namespace
{
// The grid the game describes pictures on: 13 x 13 and the grids of the same
// perimeter with odd sides, chosen within a stretchness of 0.75 of the picture's.
constexpr int BaseGridSize = 13;
constexpr int GridSizeStep = 2;
constexpr int MinimalGridSize = 1;
constexpr double GridStretchnessTolerance = 1.5;

// The cell that each pixel coordinate falls into: trunc(coordinate / extent * cells).
std::vector<int> cellIndices(int extent, int cells)
{
  std::vector<int> indices(extent);
  for (int i = 0; i < extent; ++i)
    indices[i] = static_cast<int>(static_cast<double>(i) / static_cast<double>(extent) * cells);
  return indices;
}

// Ink counts of one grid, before they become a matrix.
struct GridCounts
{
  FrequencyMatrix::Size size;
  std::vector<int> columns; // the cell column of each pixel column
  std::vector<int> rows;    // the cell row of each pixel row
  std::vector<double> counts;
};
} // namespace

MonochromeImageInfoExtractor::MonochromeImageInfoExtractor()
  : MonochromeImageInfoExtractor(nullptr)
{
}

MonochromeImageInfoExtractor::MonochromeImageInfoExtractor(FrequencyMatrixSizesProvider* provider)
  : m_dummyProvider(FrequencyMatrixSizesProvider::CreateDummy())
{
  SetFrequencyMatrixSizesProvider(provider);
}

MonochromeImageInfoExtractor::~MonochromeImageInfoExtractor() = default;

void MonochromeImageInfoExtractor::SetFrequencyMatrixSizesProvider(FrequencyMatrixSizesProvider* provider)
{
  m_provider = provider ? provider : m_dummyProvider.get();
}

QImage MonochromeImageInfoExtractor::PrepareImage(const QImage& image) const
{
  QImage prepared = image;
  if (prepared.format() != QImage::Format_Mono)
    prepared = ConvertToMonochrome(prepared);
  return TrimMonochromeImage(prepared);
}

MonochromeImageInfo* MonochromeImageInfoExtractor::Run(const QImage& image) const
{
  if (image.isNull())
    throw ImageIsEmpty();
  if (image.format() != QImage::Format_Mono && image.format() != QImage::Format_MonoLSB)
    throw ImageIsNotMonochrome();

  const int width = image.width();
  const int height = image.height();
  std::vector<GridCounts> grids;
  for (const FrequencyMatrix::Size& size : m_provider->Run(width, height))
  {
    // A grid without cells has nowhere to count the ink.
    if (size.width < 1 || size.height < 1)
      continue;
    grids.push_back(GridCounts{size, cellIndices(width, size.width), cellIndices(height, size.height),
                               std::vector<double>(static_cast<size_t>(size.width) * size.height, 0.0)});
  }
  if (grids.empty())
    return nullptr;

  // Counts are whole numbers, so the order in which the pixels are added up
  // does not change them.
  const bool msbFirst = image.format() == QImage::Format_Mono;
  int inkCount = 0;
  for (int y = 0; y < height; ++y)
  {
    const unsigned char* line = image.constScanLine(y);
    for (int x = 0; x < width; ++x)
    {
      // Most of a drawing is background: skip it a byte at a time.
      if ((x & 7) == 0 && line[x >> 3] == 0)
      {
        x += 7;
        continue;
      }
      if (!IsInk(line, x, msbFirst))
        continue;
      ++inkCount;
      for (GridCounts& grid : grids)
        grid.counts[grid.columns[x] + grid.rows[y] * grid.size.width] += 1.0;
    }
  }
  if (inkCount == 0)
    throw ImageIsEmpty();

  // Added in the provider's order, so that a size listed twice ends up where its
  // last mention puts it, as AddFrequencyMatrix does.
  auto info = std::make_unique<MonochromeImageInfo>();
  for (const GridCounts& grid : grids)
  {
    FrequencyMatrix* matrix = info->AddFrequencyMatrix(grid.size);
    for (int row = 0; row < grid.size.height; ++row)
    {
      for (int column = 0; column < grid.size.width; ++column)
        matrix->SetValue(column, row, grid.counts[column + row * grid.size.width]);
    }
    *matrix /= inkCount;
  }
  return info.release();
}

MonochromeImageInfo* CalculateMonochromeImageInfo(const QImage& image)
{
  const std::unique_ptr<FrequencyMatrixSizesProvider> provider(FrequencyMatrixSizesProvider::Create(
    BaseGridSize, GridSizeStep, MinimalGridSize, GridStretchnessTolerance));
  const MonochromeImageInfoExtractor extractor(provider.get());
  try
  {
    return extractor.Run(extractor.PrepareImage(image));
  }
  catch (const ImageIsEmpty&)
  {
  }
  catch (const ImageIsNotMonochrome&)
  {
  }
  return nullptr;
}
} // namespace qel
