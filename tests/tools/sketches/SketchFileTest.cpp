#include "SketchFile.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{
QPolygonF points(std::initializer_list<QPointF> list)
{
  return QPolygonF(QVector<QPointF>(list));
}
} // namespace

TEST(SketchFileTest, ReadsStrokesAsDrawn)
{
  QList<Sketch> sketches;
  QString error;
  ASSERT_TRUE(ParseSketches("{\"word\":\"key2_left\",\"countrycode\":\"X\",\"drawing\":[[[1,2.5,3],[4,5,6]],[[7],[8]]]}\n\n"
                            "{\"word\":\"sun1\",\"drawing\":[[[0,10],[0,0]]]}",
                            sketches, error))
    << qPrintable(error);
  ASSERT_EQ(sketches.size(), 2);
  EXPECT_EQ(sketches[0].word, "key2_left");
  ASSERT_EQ(sketches[0].strokes.size(), 2);
  EXPECT_EQ(sketches[0].strokes[0], points({{1, 4}, {2.5, 5}, {3, 6}}));
  EXPECT_EQ(sketches[0].strokes[1], points({{7, 8}}));
  EXPECT_EQ(sketches[1].word, "sun1");
}

TEST(SketchFileTest, RejectsMalformedLinesNamingThem)
{
  const char* const broken[] = {
    "{\"word\":\"a\",\"drawing\":[[[1,2],[3]]]}",     // x and y of different lengths
    "{\"word\":\"a\",\"drawing\":[[[],[]]]}",          // an empty stroke
    "{\"word\":\"a\",\"drawing\":[]}",                 // no stroke
    "{\"word\":\"a\",\"drawing\":[[[\"1\"],[2]]]}",    // not a number
    "{\"drawing\":[[[1],[2]]]}",                       // no word
    "[1, 2]",
    "{\"word\":\"a\",\"drawing\":[[[1],[2]]]",         // cut short
  };
  for (const char* line : broken)
  {
    QList<Sketch> sketches;
    QString error;
    EXPECT_FALSE(ParseSketches(QByteArray("{\"word\":\"ok\",\"drawing\":[[[1],[2]]]}\n") + line, sketches, error)) << line;
    EXPECT_EQ(error, "line 2: not a drawing") << line;
  }
}

TEST(SketchFileTest, WritesWholePixelsThatReadBack)
{
  const QList<Sketch> sketches = {{"sword3_up", {points({{0.4, 1.6}, {10, -2.5}}), points({{5, 5}})}}};
  EXPECT_EQ(FormatSketches(sketches), "{\"word\":\"sword3_up\",\"drawing\":[[[0,10],[2,-2]],[[5],[5]]]}\n");

  QTemporaryDir folder;
  const QString fileName = folder.filePath("refs.ndjson");
  QString error;
  ASSERT_TRUE(WriteSketches(fileName, sketches, error)) << qPrintable(error);
  QList<Sketch> read;
  ASSERT_TRUE(ReadSketches(fileName, read, error)) << qPrintable(error);
  ASSERT_EQ(read.size(), 1);
  EXPECT_EQ(read[0].strokes[0], points({{0, 2}, {10, -2}}));

  EXPECT_FALSE(ReadSketches(folder.filePath("missing.ndjson"), read, error));
  EXPECT_TRUE(error.startsWith(folder.filePath("missing.ndjson")));
  EXPECT_FALSE(WriteSketches(folder.filePath("no/such/folder.ndjson"), sketches, error));
}
