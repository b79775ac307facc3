#include "qel/Stretchness.h"

#include <QImage>

#include <cmath>

namespace qel
{
double CalculateStretchness(int width, int height)
{
  return std::log2(static_cast<double>(width) / static_cast<double>(height));
}

double CalculateStretchness(const QImage& image)
{
  return CalculateStretchness(image.width(), image.height());
}

double CalculateStretchness(FrequencyMatrix::Size size)
{
  return CalculateStretchness(size.width, size.height);
}
} // namespace qel
