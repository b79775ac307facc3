#pragma once

#include "qel/FrequencyMatrix.h"

#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QStringList>

#include <ostream>

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
} // namespace qeltest
