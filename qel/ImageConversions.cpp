#include "qel/ImageConversions.h"

#include <QImage>

namespace qel
{
namespace
{
constexpr QRgb White = 0xFFFFFFFF;
constexpr QRgb Black = 0xFF000000;

unsigned nonWhiteBit(quint32 pixel, int bit)
{
  return static_cast<unsigned>(pixel != White) << bit;
}

// The mask createMaskFromColor(White, Qt::MaskOutColor) makes of 32-bit pixels,
// which it compares raw (whatever the format), but built a byte at a time: this
// is the first step of every recognition. Spelt out, the eight comparisons
// compile to a few vector instructions.
QImage maskOfNonWhite32(const QImage& image)
{
  QImage mask(image.size(), QImage::Format_MonoLSB);
  const int width = image.width();
  const int maskBytesPerLine = mask.bytesPerLine();
  uchar* maskBits = mask.bits();
  for (int y = 0; y < image.height(); ++y)
  {
    const auto* pixels = reinterpret_cast<const quint32*>(image.constScanLine(y));
    uchar* bits = maskBits + y * maskBytesPerLine;
    for (int x = 0; x < width; x += 8)
    {
      const quint32* p = pixels + x;
      unsigned byte = 0;
      if (x + 8 <= width)
      {
        byte = nonWhiteBit(p[0], 0) | nonWhiteBit(p[1], 1) | nonWhiteBit(p[2], 2) | nonWhiteBit(p[3], 3) |
               nonWhiteBit(p[4], 4) | nonWhiteBit(p[5], 5) | nonWhiteBit(p[6], 6) | nonWhiteBit(p[7], 7);
      }
      else
      {
        for (int i = 0; x + i < width; ++i)
          byte |= nonWhiteBit(p[i], i);
      }
      bits[x >> 3] = static_cast<uchar>(byte);
    }
  }
  mask.setDotsPerMeterX(image.dotsPerMeterX());
  mask.setDotsPerMeterY(image.dotsPerMeterY());
  mask.setDevicePixelRatio(image.devicePixelRatio());
  return mask;
}
} // namespace

QImage ConvertToMonochrome(const QImage& image)
{
  if (image.isNull())
    return QImage();
  QImage result = image.depth() == 32 ? maskOfNonWhite32(image) : image.createMaskFromColor(White, Qt::MaskOutColor);
  result.setColorTable({White, Black});
  return result;
}

QImage AddAlphaChannel(const QImage& image)
{
  if (image.hasAlphaChannel())
    return image.copy();
  QImage result = image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < result.height(); ++y)
  {
    auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
    for (int x = 0; x < result.width(); ++x)
      line[x] |= 0xFF000000;
  }
  return result;
}

bool CorrectImageAlphaChannel(QImage& image)
{
  if (!image.hasAlphaChannel())
    return true;
  for (int y = 0; y < image.height(); ++y)
  {
    for (int x = 0; x < image.width(); ++x)
    {
      const QRgb pixel = image.pixel(x, y);
      const double transparency = 1.0 - qAlpha(pixel) / 255.0;
      const auto overWhite = [transparency](int channel) {
        return static_cast<int>(channel + (255 - channel) * transparency);
      };
      image.setPixel(x, y, qRgba(overWhite(qRed(pixel)), overWhite(qGreen(pixel)), overWhite(qBlue(pixel)), 255));
    }
  }
  return true;
}
} // namespace qel
