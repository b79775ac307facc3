#include "qel/ImageConversions.h"

#include <QImage>

namespace qel
{
QImage ConvertToMonochrome(const QImage& image)
{
  QImage result = image.createMaskFromColor(0xFFFFFFFF, Qt::MaskOutColor);
  if (!result.isNull())
  {
    result.setColor(0, 0xFFFFFFFF);
    result.setColor(1, 0xFF000000);
  }
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
