#include "qel/TrimImage.h"

#include "qel/Exceptions.h"
#include "qel/ImageConversions.h"

#include <QImage>

#include <vector>

namespace qel
{
namespace
{
// Scan lines are compared byte-wise; the padding bits beyond the last pixel of a
// line are undefined, so the last byte is masked.
unsigned char lastByteMask(int width, bool msbFirst)
{
  const int used = width & 7;
  if (used == 0)
    return 0xFF;
  return msbFirst ? static_cast<unsigned char>(0xFF << (8 - used)) : static_cast<unsigned char>(0xFF >> (8 - used));
}

bool rowHasInk(const unsigned char* line, int byteCount, unsigned char lastMask)
{
  for (int i = 0; i < byteCount - 1; ++i)
  {
    if (line[i] != 0)
      return true;
  }
  return (line[byteCount - 1] & lastMask) != 0;
}

// What QImage::copy gives for the rectangle, but byte by byte: QImage::copy
// moves unaligned monochrome pixels one at a time.
QImage copyColumns(const QImage& image, int left, int top, int width, int height, bool msbFirst)
{
  QImage result(width, height, image.format());
  result.setColorTable(image.colorTable());
  result.setDotsPerMeterX(image.dotsPerMeterX());
  result.setDotsPerMeterY(image.dotsPerMeterY());
  const int shift = left & 7;
  const int firstByte = left >> 3;
  const int sourceBytes = image.bytesPerLine();
  const int resultBytes = (width + 7) / 8;
  for (int y = 0; y < height; ++y)
  {
    const unsigned char* source = image.constScanLine(top + y) + firstByte;
    const int available = sourceBytes - firstByte;
    unsigned char* target = result.scanLine(y);
    for (int i = 0; i < resultBytes; ++i)
    {
      const unsigned int current = source[i];
      const unsigned int next = i + 1 < available ? source[i + 1] : 0;
      // Pixel order within a byte: high bit first (Mono) or low bit first (MonoLSB).
      target[i] = static_cast<unsigned char>(msbFirst ? (current << shift) | (next >> (8 - shift))
                                                      : (current >> shift) | (next << (8 - shift)));
    }
  }
  return result;
}
} // namespace

QImage TrimMonochromeImage(const QImage& image)
{
  if (image.isNull() || image.width() <= 0 || image.height() <= 0)
    throw ImageIsEmpty();
  if (image.format() != QImage::Format_Mono && image.format() != QImage::Format_MonoLSB)
    throw ImageIsNotMonochrome();

  const bool msbFirst = image.format() == QImage::Format_Mono;
  const int width = image.width();
  const int height = image.height();
  const int byteCount = (width + 7) / 8;
  const unsigned char lastMask = lastByteMask(width, msbFirst);

  int top = 0;
  while (top < height && !rowHasInk(image.constScanLine(top), byteCount, lastMask))
    ++top;
  if (top == height)
    return QImage(0, 0, QImage::Format_Mono);
  int bottom = height - 1;
  while (bottom > top && !rowHasInk(image.constScanLine(bottom), byteCount, lastMask))
    --bottom;

  // The union of the rows top..bottom holds ink in exactly the columns that do.
  std::vector<unsigned char> columns(byteCount, 0);
  for (int y = top; y <= bottom; ++y)
  {
    const unsigned char* line = image.constScanLine(y);
    for (int i = 0; i < byteCount; ++i)
      columns[i] |= line[i];
  }
  columns[byteCount - 1] &= lastMask;
  int left = 0;
  while (!IsInk(columns.data(), left, msbFirst))
    ++left;
  int right = width - 1;
  while (right > left && !IsInk(columns.data(), right, msbFirst))
    --right;

  return copyColumns(image, left, top, right - left + 1, bottom - top + 1, msbFirst);
}
} // namespace qel
