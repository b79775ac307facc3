#include "QelTestSupport.h"

#include "qel/MonochromeImageInfo.h"
#include "qel/Serialization.h"

#include <QBuffer>
#include <QDataStream>

#include <gtest/gtest.h>

using namespace qel;
using qeltest::bytes;

namespace
{
QByteArray write(const MonochromeImageInfo& info)
{
  QByteArray data;
  QDataStream stream(&data, QIODevice::WriteOnly);
  stream << info;
  return data;
}

/// Reads \a data into \a info and returns the stream's status.
QDataStream::Status read(const QByteArray& data, MonochromeImageInfo& info)
{
  QDataStream stream(data);
  stream >> info;
  return stream.status();
}

QByteArray repeated(const char* hex, int times)
{
  return bytes(hex).repeated(times);
}
} // namespace

TEST(Serialization, SignatureBytesAreIdCountSizeAndRawValues)
{
  MonochromeImageInfo info(QStringLiteral("ab"));
  FrequencyMatrix* matrix = info.AddFrequencyMatrix(13, 13);
  matrix->SetValue(0, 0, 1.0);

  const QByteArray expected = bytes("00 00 00 04 00 61 00 62"
                                    "00 00 00 01"
                                    "00 00 00 0D 00 00 00 0D"
                                    "00 00 00 00 00 00 F0 3F") +
                              repeated("00 00 00 00 00 00 00 00", 168);
  EXPECT_EQ(write(info), expected);
}

TEST(Serialization, NullAndEmptyIdsStayApart)
{
  const MonochromeImageInfo null;
  const MonochromeImageInfo empty(QStringLiteral(""));
  EXPECT_EQ(write(null), bytes("FF FF FF FF 00 00 00 00"));
  EXPECT_EQ(write(empty), bytes("00 00 00 00 00 00 00 00"));

  MonochromeImageInfo read1(QStringLiteral("x"));
  ASSERT_EQ(read(write(null), read1), QDataStream::Ok);
  EXPECT_TRUE(read1.GetId().isNull());
  MonochromeImageInfo read2;
  ASSERT_EQ(read(write(empty), read2), QDataStream::Ok);
  EXPECT_FALSE(read2.GetId().isNull());
  EXPECT_TRUE(read2.GetId().isEmpty());
}

TEST(Serialization, RoundTripKeepsIdMatricesAndTheirOrder)
{
  MonochromeImageInfo info(QStringLiteral("sword3_up"));
  FrequencyMatrix* wide = info.AddFrequencyMatrix(15, 11);
  wide->SetValue(14, 10, 0.125);
  wide->SetValue(3, 2, 1.0 / 3);
  FrequencyMatrix* tall = info.AddFrequencyMatrix(11, 15);
  tall->SetValue(0, 14, 0.75);

  MonochromeImageInfo copy(QStringLiteral("replaced"));
  copy.AddFrequencyMatrix(13, 13);
  ASSERT_EQ(read(write(info), copy), QDataStream::Ok);

  EXPECT_EQ(copy.GetId(), QStringLiteral("sword3_up"));
  ASSERT_EQ(copy.GetMatrixCount(), 2);
  EXPECT_EQ(copy.GetMatrix(0), *wide);
  EXPECT_EQ(copy.GetMatrix(1), *tall);
}

TEST(Serialization, MatricesReadFromAStreamAreKeptAsTheyCome)
{
  // Two 1 x 1 matrices: reading does not apply the one-per-size rule.
  const QByteArray data = bytes("00 00 00 00 00 00 00 02"
                                "00 00 00 01 00 00 00 01 00 00 00 00 00 00 F0 3F"
                                "00 00 00 01 00 00 00 01 00 00 00 00 00 00 00 40");
  MonochromeImageInfo info;
  ASSERT_EQ(read(data, info), QDataStream::Ok);
  ASSERT_EQ(info.GetMatrixCount(), 2);
  EXPECT_EQ(info.GetMatrix(1).GetValue(0, 0), 2.0);
  EXPECT_EQ(info.FindFrequencyMatrix(1, 1)->GetValue(0, 0), 1.0);
}

TEST(Serialization, EmptyMatricesAndNoMatricesRoundTrip)
{
  MonochromeImageInfo info(QStringLiteral("e"));
  info.AddFrequencyMatrix(new FrequencyMatrix());
  info.AddFrequencyMatrix(0, 7);
  EXPECT_EQ(write(info), bytes("00 00 00 02 00 65"
                               "00 00 00 02"
                               "00 00 00 00 00 00 00 00"
                               "00 00 00 00 00 00 00 07"));
  MonochromeImageInfo copy;
  ASSERT_EQ(read(write(info), copy), QDataStream::Ok);
  EXPECT_EQ(copy.GetMatrixCount(), 2);
}

TEST(Serialization, CorruptOrShortInputLeavesTheSignatureUnchanged)
{
  struct Case
  {
    const char* what;
    QByteArray data;
    QDataStream::Status status;
  };
  const Case cases[] = {
    {"negative count", bytes("00 00 00 00 FF FF FF FF"), QDataStream::ReadCorruptData},
    {"negative width", bytes("00 00 00 00 00 00 00 01 FF FF FF F3 00 00 00 0D"), QDataStream::ReadCorruptData},
    {"negative height", bytes("00 00 00 00 00 00 00 01 00 00 00 0D 80 00 00 00"), QDataStream::ReadCorruptData},
    {"odd id length", bytes("00 00 00 03 00 61 00 00 00 00 00"), QDataStream::ReadCorruptData},
    {"huge count", bytes("00 00 00 00 7F FF FF FF 00 00 00 00 00 00 00 00"), QDataStream::ReadPastEnd},
    {"huge matrix", bytes("00 00 00 00 00 00 00 01 7F FF FF FF 7F FF FF FF 00 00 00 00 00 00 F0 3F"),
     QDataStream::ReadPastEnd},
    {"huge id", bytes("7F FF FF FE 00 61"), QDataStream::ReadPastEnd},
    {"short values", bytes("00 00 00 00 00 00 00 01 00 00 00 01 00 00 00 01 00 00 00 00"),
     QDataStream::ReadPastEnd},
    {"short count", bytes("00 00 00 00 00 00"), QDataStream::ReadPastEnd},
  };
  for (const Case& c : cases)
  {
    MonochromeImageInfo info(QStringLiteral("kept"));
    info.AddFrequencyMatrix(2, 2)->SetValue(1, 1, 0.5);
    EXPECT_EQ(read(c.data, info), c.status) << c.what;
    EXPECT_EQ(info.GetId(), QStringLiteral("kept")) << c.what;
    ASSERT_EQ(info.GetMatrixCount(), 1) << c.what;
    EXPECT_EQ(info.GetMatrix(0).GetValue(1, 1), 0.5) << c.what;
  }
}

TEST(Serialization, MatrixOnItsOwn)
{
  FrequencyMatrix matrix(2, 1);
  matrix.SetValue(1, 0, -2.5);
  QByteArray data;
  {
    QDataStream stream(&data, QIODevice::WriteOnly);
    stream << matrix;
  }
  EXPECT_EQ(data, bytes("00 00 00 02 00 00 00 01 00 00 00 00 00 00 00 00 00 00 00 00 00 00 04 C0"));

  FrequencyMatrix copy(5, 5);
  QDataStream stream(data);
  stream >> copy;
  EXPECT_EQ(stream.status(), QDataStream::Ok);
  EXPECT_EQ(copy, matrix);
}

TEST(Serialization, LargeMatricesRoundTripAndTheirTruncationIsNoticed)
{
  // Larger than one read block of values.
  FrequencyMatrix matrix(300, 300);
  matrix.SetValue(299, 299, 1.0);
  matrix.SetValue(0, 250, 0.5);
  QByteArray data;
  {
    QDataStream stream(&data, QIODevice::WriteOnly);
    stream << matrix;
  }
  ASSERT_EQ(data.size(), 8 + 300 * 300 * 8);

  FrequencyMatrix copy;
  QDataStream stream(data);
  stream >> copy;
  EXPECT_EQ(stream.status(), QDataStream::Ok);
  EXPECT_EQ(copy, matrix);

  FrequencyMatrix cut;
  QDataStream shortStream(data.left(data.size() - 1));
  shortStream >> cut;
  EXPECT_EQ(shortStream.status(), QDataStream::ReadPastEnd);
  EXPECT_EQ(cut.GetSize(), (FrequencyMatrix::Size{0, 0}));
}
