#pragma once

class QImage;

namespace qel
{
/// A Format_MonoLSB image of the same size in which every pixel that is not
/// exactly opaque white (0xFFFFFFFF) is ink: colour index 1 (black); the others
/// get index 0 (white).
QImage ConvertToMonochrome(const QImage& image);

/// A copy of \a image, converted to an opaque Format_ARGB32 image unless it
/// already has an alpha channel.
QImage AddAlphaChannel(const QImage& image);

/// Lays \a image over a white background in place (alpha becomes 255). Always true.
bool CorrectImageAlphaChannel(QImage& image);

/// Whether pixel \a x of \a scanLine, a scan line of a Format_Mono (\a msbFirst)
/// or Format_MonoLSB image, is ink: its colour index is not 0.
inline bool IsInk(const unsigned char* scanLine, int x, bool msbFirst)
{
  const int bit = msbFirst ? 7 - (x & 7) : x & 7;
  return (scanLine[x >> 3] >> bit) & 1;
}
} // namespace qel
