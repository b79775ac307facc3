#pragma once

#include "qel/FrequencyMatrix.h"

class QImage;

namespace qel
{
/// log2(width / height): 0 for a square, positive when wider than high.
double CalculateStretchness(int width, int height);
double CalculateStretchness(const QImage& image);
double CalculateStretchness(FrequencyMatrix::Size size);
} // namespace qel
