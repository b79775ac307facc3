#pragma once

#include "qel/FrequencyMatrix.h"

class QDataStream;

// The binary form of signatures (the images DB format). Readers validate what
// they read: on a read error or a corrupt value they leave their target
// unchanged and set the stream's status (ReadPastEnd, ReadCorruptData); their
// memory grows with the data actually read, not with the counts and sizes the
// stream claims.
namespace qel
{
class MonochromeImageInfo;

/// width, height: int32 each.
QDataStream& operator<<(QDataStream& stream, const FrequencyMatrix::Size& size);
QDataStream& operator>>(QDataStream& stream, FrequencyMatrix::Size& size);

/// The size, then the values as raw IEEE-754 doubles in this machine's byte order.
QDataStream& operator<<(QDataStream& stream, const FrequencyMatrix& matrix);
QDataStream& operator>>(QDataStream& stream, FrequencyMatrix& matrix);

/// The id (QString), the matrix count (int32), then the matrices in list order.
/// Reading keeps the matrices as they come, duplicate sizes included.
QDataStream& operator<<(QDataStream& stream, const MonochromeImageInfo& info);
QDataStream& operator>>(QDataStream& stream, MonochromeImageInfo& info);
} // namespace qel
