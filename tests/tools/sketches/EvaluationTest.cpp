#include "Evaluation.h"

#include "ReferenceDatabase.h"
#include "SketchFile.h"

#include "qel/MonochromeImagesDB.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

namespace
{
QPolygonF points(std::initializer_list<QPointF> list)
{
  return QPolygonF(QVector<QPointF>(list));
}

const QList<QPolygonF> Blade = {points({{0, 0}, {10, 100}, {20, 0}}), points({{-10, 80}, {30, 80}})};
const QList<QPolygonF> Crate = {points({{0, 0}, {200, 0}, {200, 90}, {0, 90}, {0, 0}}), points({{0, 0}, {200, 90}})};
const QList<QPolygonF> Gun = {points({{0, 0}, {150, 0}, {150, 30}, {40, 30}, {30, 80}, {0, 80}, {0, 0}})};

void write(const QString& fileName, const QList<Sketch>& sketches)
{
  QString error;
  ASSERT_TRUE(WriteSketches(fileName, sketches, error)) << qPrintable(error);
}
} // namespace

TEST(EvaluationTest, CountsRightOutcomesAndGameplayObjectsMadeOfNegatives)
{
  qel::MonochromeImagesDB database;
  QString error;
  ASSERT_TRUE(AddReferences({{"sword1_up", Blade}, {"box1", Crate}, {"pistol1_right", Gun}}, database, error));

  QTemporaryDir folder;
  QDir(folder.path()).mkpath("positive");
  QDir(folder.path()).mkpath("negative");
  write(folder.filePath("positive/sword.ndjson"), {{"sword", Blade}, {"sword", Crate}});
  // Any firearm is right for a rifle.
  write(folder.filePath("positive/assault_rifle.ndjson"), {{"rifle", Gun}});
  write(folder.filePath("negative/house.ndjson"), {{"house", Crate}, {"house", Blade}});

  QString report;
  QTextStream out(&report);
  ASSERT_TRUE(EvaluateSketches(folder.path(), database, 200, out, error)) << qPrintable(error);
  const QStringList lines = report.split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 6) << qPrintable(report);
  EXPECT_EQ(lines[1].simplified(), "assault_rifle 1 1 -");
  EXPECT_EQ(lines[2].simplified(), "sword 2 1 box (1)");
  EXPECT_EQ(lines[4].simplified(), "house 2 1 box (1)");
  EXPECT_TRUE(lines[5].startsWith("positives 3 correct 2 (66.7%) negatives 2 gameplay-objects 1 (50.0%) median-us "))
    << qPrintable(lines[5]);

  // The misses name the drawing by file and line, and the reference that won.
  QString misses;
  QTextStream missesOut(&misses);
  report.clear();
  ASSERT_TRUE(EvaluateSketches(folder.path(), database, 200, out, error, &missesOut)) << qPrintable(error);
  missesOut.flush();
  EXPECT_EQ(misses, "positive/sword.ndjson:2 box1\nnegative/house.ndjson:2 sword1_up\n");
}

TEST(EvaluationTest, NeedsBothFolders)
{
  qel::MonochromeImagesDB database;
  QTemporaryDir folder;
  QDir(folder.path()).mkpath("positive");
  write(folder.filePath("positive/sword.ndjson"), {{"sword", Blade}});
  QString report, error;
  QTextStream out(&report);
  EXPECT_FALSE(EvaluateSketches(folder.path(), database, 200, out, error));
  EXPECT_TRUE(error.contains("negative")) << qPrintable(error);
}
