#include "qel/Serialization.h"

#include "qel/MonochromeImageInfo.h"

#include <QDataStream>

#include <algorithm>

namespace qel
{
namespace
{
// Values are read in blocks of this many, so that the vector grows only as far
// as the stream really holds data, whatever size the stream claims.
constexpr qint64 ValuesPerBlock = 1 << 16;
} // namespace

QDataStream& operator<<(QDataStream& stream, const FrequencyMatrix::Size& size)
{
  return stream << qint32(size.width) << qint32(size.height);
}

QDataStream& operator>>(QDataStream& stream, FrequencyMatrix::Size& size)
{
  qint32 width = 0;
  qint32 height = 0;
  stream >> width >> height;
  if (stream.status() == QDataStream::Ok)
    size = FrequencyMatrix::Size{width, height};
  return stream;
}

QDataStream& operator<<(QDataStream& stream, const FrequencyMatrix& matrix)
{
  stream << matrix.GetSize();
  const std::vector<double>& values = matrix.GetValues();
  stream.writeRawData(reinterpret_cast<const char*>(values.data()),
                      static_cast<int>(values.size() * sizeof(double)));
  return stream;
}

QDataStream& operator>>(QDataStream& stream, FrequencyMatrix& matrix)
{
  FrequencyMatrix::Size size;
  stream >> size;
  if (stream.status() != QDataStream::Ok)
    return stream;
  if (size.width < 0 || size.height < 0)
  {
    stream.setStatus(QDataStream::ReadCorruptData);
    return stream;
  }
  const qint64 count = qint64(size.width) * size.height;
  std::vector<double> values;
  while (qint64(values.size()) < count)
  {
    const qint64 block = std::min(ValuesPerBlock, count - qint64(values.size()));
    const size_t start = values.size();
    values.resize(start + block);
    const int bytes = static_cast<int>(block * sizeof(double));
    if (stream.readRawData(reinterpret_cast<char*>(values.data() + start), bytes) != bytes)
    {
      stream.setStatus(QDataStream::ReadPastEnd);
      return stream;
    }
  }
  matrix.m_size = size;
  matrix.m_values = std::move(values);
  return stream;
}

QDataStream& operator<<(QDataStream& stream, const MonochromeImageInfo& info)
{
  stream << info.GetId() << qint32(info.GetMatrixCount());
  for (int i = 0; i < info.GetMatrixCount(); ++i)
    stream << info.GetMatrix(i);
  return stream;
}

QDataStream& operator>>(QDataStream& stream, MonochromeImageInfo& info)
{
  QString id;
  qint32 count = 0;
  stream >> id >> count;
  if (stream.status() != QDataStream::Ok)
    return stream;
  if (count < 0)
  {
    stream.setStatus(QDataStream::ReadCorruptData);
    return stream;
  }
  // Not reserved: the count is only believed as far as the matrices really follow.
  std::vector<std::unique_ptr<FrequencyMatrix>> matrices;
  for (qint32 i = 0; i < count; ++i)
  {
    auto matrix = std::make_unique<FrequencyMatrix>();
    stream >> *matrix;
    if (stream.status() != QDataStream::Ok)
      return stream;
    matrices.push_back(std::move(matrix));
  }
  info.m_id = id;
  info.m_matrices = std::move(matrices);
  return stream;
}
} // namespace qel
