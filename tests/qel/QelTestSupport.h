#pragma once

#include "qel/FrequencyMatrix.h"
#include "qel/MonochromeImageInfo.h"

#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QStringList>

#include <memory>
#include <ostream>
#include <random>
#include <vector>

// Readable values in failure messages.
inline void PrintTo(const QString& text, std::ostream* out)
{
  *out << (text.isNull() ? "null QString" : '"' + text.toStdString() + '"');
}

namespace qel
{
inline void PrintTo(const FrequencyMatrix::Size& size, std::ostream* out)
{
  *out << size.width << "x" << size.height;
}
} // namespace qel

namespace qeltest
{
/// An opaque white ARGB32 picture.
inline QImage whiteImage(int width, int height)
{
  QImage image(width, height, QImage::Format_ARGB32);
  image.fill(0xFFFFFFFF);
  return image;
}

/// Bytes of a hexadecimal string such as "00 61 F0".
inline QByteArray bytes(const char* hex)
{
  return QByteArray::fromHex(QByteArray(hex).replace(' ', ""));
}

/// Signatures with the given grids, each cell empty or holding a random share.
inline std::vector<std::unique_ptr<qel::MonochromeImageInfo>>
randomSignatures(std::mt19937& random, int count, const std::vector<qel::FrequencyMatrix::Size>& sizes)
{
  std::uniform_real_distribution<double> share(0.0, 0.05);
  std::vector<std::unique_ptr<qel::MonochromeImageInfo>> infos;
  for (int i = 0; i < count; ++i)
  {
    auto info = std::make_unique<qel::MonochromeImageInfo>();
    for (const qel::FrequencyMatrix::Size size : sizes)
    {
      if (sizes.size() > 1 && random() % 3 == 0)
        continue;
      qel::FrequencyMatrix* matrix = info->AddFrequencyMatrix(size);
      for (int row = 0; row < size.height; ++row)
        for (int column = 0; column < size.width; ++column)
          matrix->SetValue(column, row, random() % 2 ? share(random) : 0.0);
    }
    infos.push_back(std::move(info));
  }
  return infos;
}
} // namespace qeltest
