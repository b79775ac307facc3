#include "world/DrawingRecognition.h"

#include "world/DrawingPen.h"

#include "common/ImageOperations.h"
#include "qel/MonochromeImageInfo.h"
#include "qel/MonochromeImageInfoExtractor.h"
#include "qel/MonochromeImagesDB.h"

#include <QGraphicsPathItem>

#include <gtest/gtest.h>

#include <memory>

namespace
{
/// Each inner list is one stroke: a move to its first point, lines to the rest,
/// with extra points every 8 pixels as mouse input yields.
std::unique_ptr<QGraphicsPathItem> drawing(const QList<QList<QPointF>>& strokes)
{
  QPainterPath path;
  for (const QList<QPointF>& stroke : strokes)
  {
    path.moveTo(stroke.first());
    for (int i = 1; i < stroke.size(); ++i)
    {
      const QLineF segment(stroke[i - 1], stroke[i]);
      const int steps = qMax(1, qRound(segment.length() / 8.0));
      for (int s = 1; s <= steps; ++s)
        path.lineTo(segment.pointAt(static_cast<double>(s) / steps));
    }
  }
  auto item = std::make_unique<QGraphicsPathItem>(path);
  item->setPen(DrawingPen);
  return item;
}

void addReference(qel::MonochromeImagesDB& database, const QGraphicsPathItem& item, const QString& id)
{
  qel::MonochromeImageInfo* signature = qel::CalculateMonochromeImageInfo(PathItemToImage(&item, 1.0));
  ASSERT_NE(signature, nullptr);
  signature->SetId(id);
  database.Append(signature);
}

// A ladder of two planks and three cleats, 100 wide and 300 high.
std::unique_ptr<QGraphicsPathItem> ladder()
{
  return drawing({{{0, 0}, {0, 300}}, {{100, 0}, {100, 300}}, {{0, 75}, {100, 75}}, {{0, 150}, {100, 150}},
                  {{0, 225}, {100, 225}}});
}

// One stroke rising to the right in three steps of 40 pixels.
std::unique_ptr<QGraphicsPathItem> stairs()
{
  return drawing({{{0, 120}, {0, 80}, {40, 80}, {40, 40}, {80, 40}, {80, 0}, {120, 0}}});
}

std::unique_ptr<QGraphicsPathItem> circle()
{
  QList<QPointF> points;
  for (int i = 0; i <= 36; ++i)
    points << QPointF(60 * std::cos(i * M_PI / 18), 60 * std::sin(i * M_PI / 18));
  return drawing({points});
}

std::unique_ptr<QGraphicsPathItem> diagonal()
{
  return drawing({{{0, 150}, {150, 0}}, {{90, 40}, {120, 70}}});
}
} // namespace

TEST(DrawingRecognitionTest, SplitsIdsIntoNameAndDirection)
{
  struct Case
  {
    const char* id;
    const char* name;
    bool hasDirection;
    Direction direction;
  };
  const Case cases[] = {
    {"sword", "sword", false, Right},
    {"sword2", "sword", false, Right},
    {"sword2_left", "sword", true, Left},
    {"sword3_up", "sword", true, Up},
    {"key12_downleft", "key", true, DownLeft},
    {"submachine_gun_right", "submachine_gun", true, Right},
    {"assault_rifle7_upleft", "assault_rifle", true, UpLeft},
    // The last underscore splits: "gun" names no direction and reads as Right.
    {"submachine_gun", "submachine", true, Right},
    // A digit run at the very start is part of the name; the next one is cut.
    {"3apple_left", "3apple", true, Left},
    {"33apple", "33apple", false, Right},
    {"3apple2", "3apple", false, Right},
    {"_left", "", false, Right},
    {"", "", false, Right},
  };
  for (const Case& c : cases)
  {
    const DrawingRecognition::ParsedId parsed = DrawingRecognition::ParseId(c.id);
    EXPECT_EQ(parsed.name, c.name) << c.id;
    EXPECT_EQ(parsed.hasDirection, c.hasDirection) << c.id;
    EXPECT_EQ(parsed.direction, c.direction) << c.id;
  }
}

TEST(DrawingRecognitionTest, NamesTheNearestReferenceWithItsDirection)
{
  qel::MonochromeImagesDB database;
  addReference(database, *circle(), "ball3");
  addReference(database, *diagonal(), "sword12_upright");

  const auto drawn = diagonal();
  const DrawingRecognition::Outcome outcome = DrawingRecognition::Recognize(*drawn, database);
  EXPECT_EQ(outcome.kind, DrawingRecognition::Kind::Object);
  EXPECT_EQ(outcome.id, "sword12_upright");
  EXPECT_EQ(outcome.object.name, "sword");
  EXPECT_TRUE(outcome.object.hasDirection);
  EXPECT_EQ(outcome.object.direction, UpRight);

  const DrawingRecognition::Outcome round = DrawingRecognition::Recognize(*circle(), database);
  EXPECT_EQ(round.id, "ball3");
  EXPECT_FALSE(round.object.hasDirection);
}

TEST(DrawingRecognitionTest, LaddersComeFirstThenStairsThenTheDatabase)
{
  // Every drawing is in the database, yet the detectors decide first.
  qel::MonochromeImagesDB database;
  const auto ladderDrawing = ladder();
  const auto stairsDrawing = stairs();
  addReference(database, *ladderDrawing, "box1");
  addReference(database, *stairsDrawing, "box2");

  const DrawingRecognition::Outcome climbable = DrawingRecognition::Recognize(*ladderDrawing, database);
  EXPECT_EQ(climbable.kind, DrawingRecognition::Kind::Ladder);
  EXPECT_EQ(climbable.leftPlank.size(), 1);
  EXPECT_EQ(climbable.rightPlank.size(), 1);
  EXPECT_EQ(climbable.cleats.size(), 3u);
  EXPECT_TRUE(climbable.id.isEmpty());

  const DrawingRecognition::Outcome walkable = DrawingRecognition::Recognize(*stairsDrawing, database);
  EXPECT_EQ(walkable.kind, DrawingRecognition::Kind::Stairs);
  EXPECT_EQ(walkable.treads.size(), 3);
  EXPECT_EQ(walkable.risers.size(), 3);
  EXPECT_EQ(walkable.stairsDirection, Right);
}

TEST(DrawingRecognitionTest, NothingWithoutAStrokeOrAReferenceNearEnough)
{
  qel::MonochromeImagesDB database;
  QGraphicsPathItem empty;
  empty.setPen(DrawingPen);
  EXPECT_EQ(DrawingRecognition::Recognize(empty, database).kind, DrawingRecognition::Kind::Nothing);
  EXPECT_EQ(DrawingRecognition::Recognize(*circle(), database).kind, DrawingRecognition::Kind::Nothing);

  // A long flat stroke shares no grid with a round reference.
  addReference(database, *circle(), "ball1");
  const auto flat = drawing({{{0, 0}, {300, 0}, {300, 12}}});
  const DrawingRecognition::Outcome outcome = DrawingRecognition::Recognize(*flat, database);
  EXPECT_EQ(outcome.kind, DrawingRecognition::Kind::Nothing);
  EXPECT_TRUE(outcome.id.isNull());
}
