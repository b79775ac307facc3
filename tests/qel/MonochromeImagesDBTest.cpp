#include "LogCapture.h"
#include "QelTestSupport.h"

#include "qel/MonochromeImageInfo.h"
#include "qel/MonochromeImageInfoExtractor.h"
#include "qel/MonochromeImagesDB.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>

using namespace qel;
using qeltest::bytes;
using qeltest::whiteImage;
using Size = FrequencyMatrix::Size;

namespace
{
/// The picture of one ink pixel: its signature holds 11 x 15, 13 x 13 and
/// 15 x 11, each with 1.0 in cell (0, 0).
QImage dot()
{
  QImage image = whiteImage(5, 5);
  image.setPixel(2, 2, qRgb(0, 0, 0));
  return image;
}

/// An entry with a 13 x 13 matrix whose difference to dot() is exactly the sum
/// of \a extra: cell (0, 0) matches, and a value v in another cell adds v^2 / v.
MonochromeImageInfo* entry(const QString& id, const std::vector<double>& extra)
{
  auto* info = new MonochromeImageInfo(id);
  FrequencyMatrix* matrix = info->AddFrequencyMatrix(13, 13);
  matrix->SetValue(0, 0, 1.0);
  for (size_t i = 0; i < extra.size(); ++i)
    matrix->SetValue(int(i) + 1, 0, extra[i]);
  return info;
}

enum class Shape
{
  Ring,
  Cross,
  Bar
};

/// A hand-drawn-looking shape: drawn with a 3 px pen without antialiasing,
/// slightly different for every \a variant.
QImage drawing(Shape shape, int variant)
{
  QImage image = whiteImage(120, 120);
  QPainter painter(&image);
  painter.setPen(QPen(Qt::black, 3));
  const int d = variant * 3;
  switch (shape)
  {
  case Shape::Ring:
    painter.drawEllipse(QRect(10 + d, 10, 90 - d, 95));
    break;
  case Shape::Cross:
    painter.drawLine(10, 10 + d, 100, 105);
    painter.drawLine(100 - d, 10, 10, 100);
    break;
  case Shape::Bar:
    painter.drawRect(QRect(10, 40 + d, 100, 30));
    break;
  }
  return image;
}

MonochromeImageInfo* reference(Shape shape, int variant, const QString& id)
{
  MonochromeImageInfo* info = CalculateMonochromeImageInfo(drawing(shape, variant));
  info->SetId(id);
  return info;
}

QByteArray fileBytes(const QString& fileName)
{
  QFile file(fileName);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& fileName, const QByteArray& data)
{
  QFile file(fileName);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  ASSERT_EQ(file.write(data), data.size());
}

class ImagesDbFile : public testing::Test
{
protected:
  QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

  /// A database of three real references, saved to "three.db".
  QString savedThree()
  {
    MonochromeImagesDB db;
    db.Append(reference(Shape::Ring, 0, QStringLiteral("ring")));
    db.Append(reference(Shape::Cross, 0, QStringLiteral("cross")));
    db.Append(reference(Shape::Bar, 0, QStringLiteral("bar")));
    EXPECT_TRUE(db.Save(path("three.db")));
    return path("three.db");
  }

private:
  QTemporaryDir m_dir;
};
} // namespace

TEST(ClassifyImage, ReturnsTheNearestEntryWithinTheThreshold)
{
  MonochromeImagesDB db;
  db.Append(entry(QStringLiteral("far"), {1.25}));
  db.Append(entry(QStringLiteral("near"), {0.5}));
  db.Append(entry(QStringLiteral("middle"), {0.75}));
  EXPECT_EQ(db.ClassifyImage(dot(), 1.5), QStringLiteral("near"));
  EXPECT_EQ(db.ClassifyImage(dot(), 0.25), QString());
}

TEST(ClassifyImage, TheLastOfEqualDifferencesWins)
{
  MonochromeImagesDB db;
  db.Append(entry(QStringLiteral("A"), {0.5, 0.25, 0.0625}));
  db.Append(entry(QStringLiteral("B"), {0.5, 0.25, 0.0625}));
  db.Append(entry(QStringLiteral("C"), {0.5, 0.25, 0.125}));
  EXPECT_EQ(db.ClassifyImage(dot(), 1.5), QStringLiteral("B"));
}

TEST(ClassifyImage, ADifferenceEqualToTheThresholdIsAccepted)
{
  MonochromeImagesDB db;
  db.Append(entry(QStringLiteral("exact"), {1.5}));
  EXPECT_EQ(db.CalculateImageDifferences(dot()).begin()->first, 1.5);
  EXPECT_EQ(db.ClassifyImage(dot(), 1.5), QStringLiteral("exact"));

  MonochromeImagesDB above;
  above.Append(entry(QStringLiteral("above"), {1.5000001}));
  EXPECT_EQ(above.ClassifyImage(dot(), 1.5), QString());
}

TEST(ClassifyImage, EntriesWithoutACommonGridAreNeverChosenBelow1e10)
{
  MonochromeImagesDB db;
  auto* wide = new MonochromeImageInfo(QStringLiteral("wide"));
  wide->AddFrequencyMatrix(25, 1)->SetValue(0, 0, 1.0);
  db.Append(wide);
  EXPECT_EQ(db.ClassifyImage(dot(), 1.5), QString());
  EXPECT_EQ(db.ClassifyImage(dot(), 9.9e9), QString());
  EXPECT_EQ(db.ClassifyImage(dot(), 1e10), QStringLiteral("wide"));
}

TEST(ClassifyImage, PicturesWithoutSignatureOrAnEmptyDatabaseGiveNull)
{
  MonochromeImagesDB empty;
  EXPECT_TRUE(empty.ClassifyImage(dot(), 1.5).isNull());
  EXPECT_TRUE(empty.CalculateImageDifferences(dot()).empty());

  MonochromeImagesDB db;
  db.Append(entry(QStringLiteral("dot"), {}));
  db.Append(nullptr);
  EXPECT_EQ(db.GetCount(), 1);
  EXPECT_TRUE(db.ClassifyImage(whiteImage(30, 30), 1.5).isNull());
  EXPECT_TRUE(db.ClassifyImage(QImage(), 1.5).isNull());
  EXPECT_TRUE(db.CalculateImageDifferences(whiteImage(30, 30)).empty());
}

TEST(ClassifyImage, RecognisesDrawingsOfTheSameShape)
{
  MonochromeImagesDB db;
  for (int variant = 0; variant < 3; ++variant)
  {
    db.Append(reference(Shape::Ring, variant, QStringLiteral("ring")));
    db.Append(reference(Shape::Cross, variant, QStringLiteral("cross")));
    db.Append(reference(Shape::Bar, variant, QStringLiteral("bar")));
  }
  EXPECT_EQ(db.ClassifyImage(drawing(Shape::Ring, 5), 1.5), QStringLiteral("ring"));
  EXPECT_EQ(db.ClassifyImage(drawing(Shape::Cross, 5), 1.5), QStringLiteral("cross"));
  EXPECT_EQ(db.ClassifyImage(drawing(Shape::Bar, 5), 1.5), QStringLiteral("bar"));
}

TEST(ClassifyImage, AgreesWithTheFullListOfDifferences)
{
  // Classification skips work on entries that cannot win; the answer must be
  // the one the complete differences give.
  std::mt19937 random(3);
  MonochromeImagesDB db;
  for (int i = 0; i < 200; ++i)
  {
    QImage image = whiteImage(60 + int(random() % 80), 60 + int(random() % 80));
    QPainter painter(&image);
    painter.setPen(QPen(Qt::black, 2));
    for (int stroke = 0; stroke < 3; ++stroke)
      painter.drawLine(int(random() % image.width()), int(random() % image.height()),
                       int(random() % image.width()), int(random() % image.height()));
    painter.end();
    MonochromeImageInfo* info = CalculateMonochromeImageInfo(image);
    if (info)
      info->SetId(QString::number(i));
    db.Append(info);
  }
  // Duplicates make ties.
  db.Append(reference(Shape::Ring, 0, QStringLiteral("ring1")));
  db.Append(reference(Shape::Ring, 0, QStringLiteral("ring2")));

  for (const Shape shape : {Shape::Ring, Shape::Cross, Shape::Bar})
  {
    const QImage image = drawing(shape, 4);
    const std::multimap<double, QString> differences = db.CalculateImageDifferences(image);
    ASSERT_EQ(int(differences.size()), db.GetCount());
    for (const double threshold : {0.1, 0.3, 0.6, 1.0, 1.5})
    {
      const double nearest = differences.begin()->first;
      const QString expected =
        nearest <= threshold ? std::prev(differences.upper_bound(nearest))->second : QString();
      EXPECT_EQ(db.ClassifyImage(image, threshold), expected) << threshold;
    }
  }
}

TEST(CalculateImageDifferences, ListsEveryEntryNearestFirstAndTiesInEntryOrder)
{
  MonochromeImagesDB db;
  db.Append(entry(QStringLiteral("second"), {0.5}));
  db.Append(entry(QStringLiteral("first"), {0.25}));
  db.Append(entry(QStringLiteral("third"), {0.5}));
  const std::multimap<double, QString> differences = db.CalculateImageDifferences(dot());
  std::vector<std::pair<double, QString>> list(differences.begin(), differences.end());
  EXPECT_EQ(list, (std::vector<std::pair<double, QString>>{
                    {0.25, QStringLiteral("first")}, {0.5, QStringLiteral("second")}, {0.5, QStringLiteral("third")}}));
}

TEST_F(ImagesDbFile, SaveThenLoadKeepsEveryEntryInOrder)
{
  const QString fileName = savedThree();
  MonochromeImagesDB db;
  ASSERT_TRUE(db.Load(fileName));
  ASSERT_EQ(db.GetCount(), 3);
  EXPECT_EQ(db.GetEntry(0).GetId(), QStringLiteral("ring"));
  EXPECT_EQ(db.GetEntry(2).GetId(), QStringLiteral("bar"));
  const std::unique_ptr<MonochromeImageInfo> original(reference(Shape::Cross, 0, QStringLiteral("cross")));
  ASSERT_EQ(db.GetEntry(1).GetMatrixCount(), original->GetMatrixCount());
  for (int i = 0; i < original->GetMatrixCount(); ++i)
    EXPECT_EQ(db.GetEntry(1).GetMatrix(i), original->GetMatrix(i));
  // The loaded entries classify, in place of those there before.
  EXPECT_EQ(db.ClassifyImage(drawing(Shape::Cross, 3), 1.5), QStringLiteral("cross"));
  ASSERT_TRUE(db.Load(fileName));
  EXPECT_EQ(db.ClassifyImage(drawing(Shape::Bar, 3), 1.5), QStringLiteral("bar"));

  // Saving what was loaded gives the same file.
  ASSERT_TRUE(db.Save(path("again.db")));
  EXPECT_EQ(fileBytes(path("again.db")), fileBytes(fileName));
}

TEST_F(ImagesDbFile, FileIsTheRecordsBackToBack)
{
  MonochromeImagesDB db;
  db.Append(new MonochromeImageInfo(QStringLiteral("a")));
  db.Append(new MonochromeImageInfo());
  ASSERT_TRUE(db.Save(path("plain.db")));
  EXPECT_EQ(fileBytes(path("plain.db")), bytes("00 00 00 02 00 61 00 00 00 00 FF FF FF FF 00 00 00 00"));
}

TEST_F(ImagesDbFile, EmptyFileLoadsNoEntries)
{
  writeFile(path("empty.db"), QByteArray());
  MonochromeImagesDB db;
  db.Append(entry(QStringLiteral("old"), {}));
  ASSERT_TRUE(db.Load(path("empty.db")));
  EXPECT_EQ(db.GetCount(), 0);
  EXPECT_TRUE(db.ClassifyImage(dot(), 1.5).isNull());
}

TEST_F(ImagesDbFile, UnreadableFilesKeepTheEntries)
{
  LogCapture log("bv.qel");
  MonochromeImagesDB db;
  db.Append(entry(QStringLiteral("old"), {}));
  EXPECT_FALSE(db.Load(path("missing.db")));
  EXPECT_FALSE(db.Load(path("")));
  EXPECT_EQ(db.GetCount(), 1);
  ASSERT_EQ(log.lines().size(), 2);
  EXPECT_TRUE(log.lines()[0].contains(path("missing.db"))) << log.lines()[0].toStdString();
}

TEST_F(ImagesDbFile, ACutShortFileLoadsTheRecordsBeforeTheCut)
{
  // Small records, so that every cut can be tried; ends[k] is where record k ends.
  MonochromeImagesDB complete;
  std::vector<int> ends;
  for (const char* id : {"one", "two", "three"})
  {
    auto* info = new MonochromeImageInfo(QString::fromLatin1(id));
    info->AddFrequencyMatrix(2, 1)->SetValue(1, 0, 0.5);
    info->AddFrequencyMatrix(1, 2)->SetValue(0, 1, 0.25);
    complete.Append(info);
    ASSERT_TRUE(complete.Save(path("small.db")));
    ends.push_back(fileBytes(path("small.db")).size());
  }
  const QByteArray data = fileBytes(path("small.db"));
  LogCapture log("bv.qel");
  for (int length = 1; length < data.size(); ++length)
  {
    writeFile(path("cut.db"), data.left(length));
    MonochromeImagesDB db;
    db.Append(entry(QStringLiteral("old"), {}));
    ASSERT_TRUE(db.Load(path("cut.db"))) << length;
    const int records = int(std::upper_bound(ends.begin(), ends.end(), length) - ends.begin());
    ASSERT_EQ(db.GetCount(), records) << length;
    for (int i = 0; i < records; ++i)
      EXPECT_EQ(db.GetEntry(i).GetId(), complete.GetEntry(i).GetId());
    if (records > 0)
    {
      EXPECT_EQ(db.GetEntry(0).GetMatrix(1).GetValue(0, 1), 0.25);
    }
  }
  // One warning for every cut inside a record.
  EXPECT_EQ(log.lines().size(), data.size() - 1 - 2);
  EXPECT_TRUE(log.lines()[0].contains(QStringLiteral("cut short"))) << log.lines()[0].toStdString();
}

TEST_F(ImagesDbFile, ADamagedRecordEndsTheLoadAfterTheRecordsBeforeIt)
{
  const QByteArray valid = fileBytes(savedThree());
  const QByteArray damaged[] = {
    bytes("00 00 00 00 FF FF FF FF"),
    bytes("00 00 00 00 7F FF FF FF"),
    bytes("00 00 00 00 00 00 00 01 7F FF FF FF 7F FF FF FF 00 00 00 00 00 00 00 00"),
    bytes("00 00 00 00 00 00 00 01 00 00 00 0D FF FF FF FF"),
    bytes("7F FF FF FE 00 61"),
    bytes("00 00 00 01 00"),
    // An empty grid, then a NaN and an infinite value.
    bytes("00 00 00 00 00 00 00 01 00 00 00 00 00 00 00 05"),
    bytes("00 00 00 00 00 00 00 01 00 00 00 01 00 00 00 01 00 00 00 00 00 00 F8 7F"),
    bytes("00 00 00 00 00 00 00 01 00 00 00 01 00 00 00 01 00 00 00 00 00 00 F0 7F"),
  };
  LogCapture log("bv.qel");
  for (const QByteArray& tail : damaged)
  {
    // Records after the damage are not believed either.
    writeFile(path("damaged.db"), valid + tail + valid);
    MonochromeImagesDB db;
    db.Append(entry(QStringLiteral("old"), {}));
    EXPECT_TRUE(db.Load(path("damaged.db"))) << tail.toHex().constData();
    EXPECT_EQ(db.GetCount(), 3) << tail.toHex().constData();
    EXPECT_NE(db.GetEntry(0).GetId(), QStringLiteral("old"));
  }
  // The log names the file and where its damage starts.
  ASSERT_EQ(log.lines().size(), 9);
  const QString where = QStringLiteral("in record 3 starting at byte %1").arg(valid.size());
  EXPECT_TRUE(log.lines()[0].contains(path("damaged.db")) && log.lines()[0].contains(where) &&
              log.lines()[0].contains(QStringLiteral("corrupt")))
    << log.lines()[0].toStdString();
  EXPECT_TRUE(log.lines()[1].contains(QStringLiteral("cut short"))) << log.lines()[1].toStdString();
  EXPECT_TRUE(log.lines()[6].contains(QStringLiteral("corrupt"))) << log.lines()[6].toStdString();
}

TEST_F(ImagesDbFile, ManyGridSizesClassifyAsTheFullListSays)
{
  // Each record with sizes of its own, as a crafted file may have: the screen
  // keys them, and still rules out only what the full comparison would.
  MonochromeImagesDB written;
  for (int i = 0; i < 2000; ++i)
  {
    auto* info = new MonochromeImageInfo(QStringLiteral("grid%1").arg(i));
    info->AddFrequencyMatrix(1 + i % 40, 1 + i / 40)->SetValue(0, 0, 1.0);
    written.Append(info);
  }
  written.Append(entry(QStringLiteral("match"), {}));
  ASSERT_TRUE(written.Save(path("sizes.db")));
  MonochromeImagesDB db;
  ASSERT_TRUE(db.Load(path("sizes.db")));
  ASSERT_EQ(db.GetCount(), 2001);
  // dot()'s three grids match three of the sizes, and "match", exactly.
  const std::multimap<double, QString> differences = db.CalculateImageDifferences(dot());
  EXPECT_EQ(differences.count(0.0), 4u);
  EXPECT_EQ(db.ClassifyImage(dot(), 1.5), QStringLiteral("match"));
  written.Append(entry(QStringLiteral("last"), {}));
  EXPECT_EQ(written.ClassifyImage(dot(), 1.5), QStringLiteral("last"));
}

TEST_F(ImagesDbFile, SaveReportsFilesThatCannotBeWritten)
{
  LogCapture log("bv.qel");
  MonochromeImagesDB db;
  db.Append(entry(QStringLiteral("e"), {}));
  EXPECT_FALSE(db.Save(path("no/such/folder/images.db")));
  // A device that refuses every write, like a full disk.
  ASSERT_TRUE(QFile::exists(QStringLiteral("/dev/full")));
  EXPECT_FALSE(db.Save(QStringLiteral("/dev/full")));
  EXPECT_EQ(log.lines().size(), 2);
}
