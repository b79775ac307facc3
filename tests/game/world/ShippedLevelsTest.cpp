#include "ObjectTestSupport.h"
#include "SketchFile.h"

#include "common/ConvertUtils.h"
#include "common/FilePaths.h"
#include "flow/HUD.h"
#include "stickman/Stickman.h"
#include "world/Level.h"
#include "world/Materials.h"
#include "world/Object.h"
#include "world/ObjectCreator.h"
#include "world/Scene.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTextStream>

#include <gtest/gtest.h>

#include <memory>

namespace
{
// A shipped level built on the running scene of the object tests, with the
// game's object creator, played through the player's commands tick by tick.
class ShippedLevelTest : public SceneTest
{
protected:
  bool load(const QString& name)
  {
    if (!materials.Load(GetMaterialsPath()) || !stickmanTemplate.Load(GetStickmanPath()) ||
        !level.Load(GetLevelsPath() + "/" + name + ".xml"))
      return false;
    shippedScene = std::make_unique<Scene>(nullptr);
    scene = shippedScene.get();
    scene->Init(level, &materials, nullptr, &stickmanTemplate);
    creator.Init(scene, &materials, nullptr);
    return scene->GetPlayer() != nullptr;
  }
  Stickman* player() const { return scene->GetPlayer(); }
  // Walks until the figure stops moving (an edge, a wall), passes x (pixels) or the ticks run out.
  void walk(Direction direction, double untilXPx = -1, int maxTicks = 3000)
  {
    double last = player()->pos().x();
    int still = 0;
    for (int i = 0; i < maxTicks && player() && still < 60; ++i)
    {
      if (untilXPx >= 0 && (direction == Right ? last >= untilXPx : last <= untilXPx))
        return;
      player()->Move(direction);
      tick(1);
      still = player() && qFuzzyCompare(player()->pos().x(), last) ? still + 1 : 0;
      if (player())
        last = player()->pos().x();
    }
  }
  // Walks on while skipping the cues of any cutscene, until the level is finished.
  void walkToTheFinish(QSignalSpy& finished, int maxTicks = 3000)
  {
    for (int i = 0; i < maxTicks && finished.isEmpty(); ++i)
    {
      if (player() && i % 10 == 0)
        scene->SkipCutsceneCue();
      if (player())
        player()->Move(Right);
      tick(1);
    }
  }
  // Draws one line through points given in metres, as a mouse drag samples it.
  void drawLine(std::initializer_list<QPointF> pointsM)
  {
    QPolygonF stroke;
    QPointF previous = m2px(*pointsM.begin());
    stroke << previous;
    for (const QPointF& pointM : pointsM)
    {
      const QPointF point = m2px(pointM);
      const int steps = std::max(1, int(QLineF(previous, point).length() / 8));
      for (int i = 1; i <= steps; ++i)
        stroke << previous + (point - previous) * (double(i) / steps);
      previous = point;
    }
    draw(creator, {stroke});
  }
  // Draws the first generated reference of an object, its bottom centre at bottomCentre (pixels).
  Object* drawObject(const QString& name, const QPointF& bottomCentre)
  {
    QList<Sketch> references;
    QString error;
    EXPECT_TRUE(ReadSketches(BV_BUILT_REFERENCES, references, error)) << error.toStdString();
    const QRegularExpression word("^" + name + "\\d+(_right)?$");
    for (const Sketch& sketch : references)
      if (word.match(sketch.word).hasMatch())
      {
        const int before = scene->GetObjects().size();
        draw(creator, PlaceStrokes(sketch.strokes, bottomCentre));
        return scene->GetObjects().size() > before ? scene->GetObjects().last() : nullptr;
      }
    return nullptr;
  }
  // Picks up the object once it is within reach, walking towards it.
  bool pickUp(Object* object)
  {
    for (int i = 0; i < 600 && player(); ++i)
    {
      if (scene->GetObjectsWithinStickmanReach(player()).contains(object) && object->GetGrabable())
      {
        player()->GrabItem(object->GetGrabable());
        return player()->GetGrabbedItem() == object->GetGrabable();
      }
      player()->Move(object->GetItem()->sceneBoundingRect().center().x() > player()->pos().x() ? Right : Left);
      tick(1);
    }
    return false;
  }
  // The view the game shows, 1920 x 1080 around the point (scene pixels), saved for looking.
  QImage shot(const QPointF& centre, const QString& name)
  {
    const QSizeF screen(1920, 1080);
    QRectF view(centre - QPointF(screen.width() / 2, screen.height() * 0.6), screen);
    view.moveLeft(qBound(0.0, view.left(), scene->sceneRect().width() - screen.width()));
    view.moveTop(qBound(0.0, view.top(), scene->sceneRect().height() - screen.height()));
    QImage picture(screen.toSize(), QImage::Format_ARGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    scene->render(&painter, QRectF(QPointF(), screen), view);
    painter.end();
    QDir().mkpath(GetDataRootPath() + "/../level-shots");
    picture.save(GetDataRootPath() + "/../level-shots/" + name + ".png");
    return picture;
  }

  // The game's own data beside the program; the scene of the fixture is replaced by the level's.
  Materials materials;
  Stickman stickmanTemplate{nullptr, nullptr, nullptr};
  Level level{QSizeF()};
  std::unique_ptr<Scene> shippedScene;
  ObjectCreator creator;
};

QString startLevel()
{
  QFile file(GetStartLevelConfigPath());
  return file.open(QIODevice::ReadOnly | QIODevice::Text) ? QTextStream(&file).readLine() : QString();
}

// The chapter in playing order, from the start level along the finish areas.
QStringList chapter()
{
  QStringList names;
  for (QString name = startLevel(); !name.isEmpty() && !names.contains(name);)
  {
    names << name;
    Level level(QSizeF(0, 0));
    if (!level.Load(GetLevelsPath() + "/" + name + ".xml") || level.GetFinishAreas().isEmpty())
      break;
    name = level.GetFinishAreas().first().nextLevel;
  }
  return names;
}
} // namespace

TEST(ShippedLevels, TheChapterRunsFromTheStartLevelToItsEnd)
{
  EXPECT_EQ(startLevel(), "sea_shore");
  const QStringList names = chapter();
  EXPECT_EQ(names, QStringList({"sea_shore", "cliff_path", "high_ledge", "friends_meadow", "windy_gap"}));
  const QStringList files = QDir(BV_SOURCE_DATA "/levels").entryList({"*.xml"}, QDir::Files);
  EXPECT_EQ(files.size(), names.size()) << "every shipped level is part of the chapter";
  for (const QString& name : names)
  {
    SCOPED_TRACE(name.toStdString());
    Level level(QSizeF(0, 0));
    ASSERT_TRUE(level.Load(GetLevelsPath() + "/" + name + ".xml"));
    EXPECT_FALSE(level.GetTitle().isEmpty());
    EXPECT_NE(level.GetStartCutscene(), nullptr);
    EXPECT_FALSE(level.GetMusicTracks().isEmpty()) << "its music is there";
    ASSERT_FALSE(level.GetFinishAreas().isEmpty());
    for (const Level::FinishArea& area : level.GetFinishAreas())
      EXPECT_TRUE(area.nextLevel.isEmpty() || names.contains(area.nextLevel));
  }
  Level last(QSizeF(0, 0));
  ASSERT_TRUE(last.Load(GetLevelsPath() + "/" + names.last() + ".xml"));
  EXPECT_TRUE(last.GetFinishAreas().first().nextLevel.isEmpty()) << "the chapter ends";
}

// The painted pictures cover the level, and the pencil line of every piece of
// ground lies where the figure's feet will stand on it.
TEST(ShippedLevels, PicturesCoverTheLevelAndGroundIsDrawnWhereItIs)
{
  for (const QString& name : chapter())
  {
    SCOPED_TRACE(name.toStdString());
    Level level(QSizeF(0, 0));
    ASSERT_TRUE(level.Load(GetLevelsPath() + "/" + name + ".xml"));
    const QSize size = m2px(level.GetSize()).toSize();
    const QImage& background = level.GetBackgroundImage();
    EXPECT_EQ(background.size(), size);
    ASSERT_EQ(level.GetForegroundRegions().size(), 1);
    EXPECT_EQ(level.GetForegroundRegions().first().image.size(), size);
    for (const Level::GroundRegion& region : level.GetGroundRegions())
    {
      const QRectF area = m2px(region.area);
      int misplaced = 0, columns = 0;
      for (int x = int(area.left()) + 12; x < area.right() - 12; x += 40, ++columns)
      {
        int darkest = 256;
        for (int y = int(area.top()) - 2; y <= area.top() + 2; ++y)
          darkest = std::min(darkest, qGray(background.pixel(x, y)));
        misplaced += darkest > 120;
      }
      EXPECT_EQ(misplaced, 0) << "of " << columns << " columns of the ground at y " << area.top();
    }
  }
}

// In every level the player starts on the ground and the camera's first view
// is saved as level-shots/NAME.png in the build folder (look at them).
TEST_F(ShippedLevelTest, ThePlayerStartsStandingOnTheGround)
{
  for (const QString& name : chapter())
  {
    SCOPED_TRACE(name.toStdString());
    ASSERT_TRUE(load(name));
    tick(30);
    const QPointF feet = player()->pos();
    EXPECT_FALSE(scene->GetGroundAtPos(feet).isNull()) << feet.x() << ", " << feet.y();
    shot(feet, name);
  }
}

// The sea shore is played as its file describes: up the rocks, a jump down, on to the sign.
TEST_F(ShippedLevelTest, SeaShoreIsSolvedByWalkingAndOneJump)
{
  ASSERT_TRUE(load("sea_shore"));
  QSignalSpy finished(scene, &Scene::levelFinished);
  walk(Right);
  ASSERT_NE(player(), nullptr);
  EXPECT_NEAR(player()->pos().y(), m2px(7.4), 1) << "stopped on the last rock";
  EXPECT_TRUE(finished.isEmpty());
  shot(player()->pos(), "sea_shore-edge");
  player()->Jump();
  tick(120);
  ASSERT_NE(player(), nullptr) << "the jump down is safe";
  EXPECT_NEAR(player()->pos().y(), m2px(9.0), 1);
  walkToTheFinish(finished);
  ASSERT_EQ(finished.size(), 1);
  EXPECT_EQ(finished.first().first().toString(), "cliff_path");
}

// The high ledge: stairs drawn as its file describes carry the player up.
TEST_F(ShippedLevelTest, HighLedgeIsSolvedWithDrawnStairs)
{
  ASSERT_TRUE(load("high_ledge"));
  QSignalSpy finished(scene, &Scene::levelFinished);
  walk(Right);
  EXPECT_LT(player()->pos().x(), m2px(12.0)) << "the ledge stops the player";
  walk(Left, m2px(7.0));
  drawLine({{8.3, 9.0}, {9.5, 9.0}, {9.5, 8.4}, {10.7, 8.4}, {10.7, 7.8}, {11.9, 7.8}, {11.9, 7.2}, {12.4, 7.2}});
  EXPECT_TRUE(scene->GetObjects().isEmpty()) << "the line became stairs, not an object";
  walk(Right, m2px(12.5));
  ASSERT_NE(player(), nullptr);
  EXPECT_NEAR(player()->pos().y(), m2px(7.2), 3) << "up on the ledge";
  shot(player()->pos(), "high_ledge-stairs");
  walkToTheFinish(finished);
  ASSERT_EQ(finished.size(), 1);
  EXPECT_EQ(finished.first().first().toString(), "friends_meadow");
}

// Tilda's finish area waits for a flower: empty hands do not end the level, a drawn flower does.
TEST_F(ShippedLevelTest, TildaWantsAFlowerAndGetsADrawnOne)
{
  ASSERT_TRUE(load("friends_meadow"));
  QSignalSpy finished(scene, &Scene::levelFinished);
  QSignalSpy cutscene(scene, &Scene::cutsceneStarted);
  walk(Right, m2px(19.0));
  EXPECT_TRUE(finished.isEmpty());
  EXPECT_TRUE(cutscene.isEmpty());
  walk(Left, m2px(15.0));

  Object* flower = drawObject("flower", QPointF(m2px(13.5), m2px(8.0)));
  ASSERT_NE(flower, nullptr) << "the drawing was recognised";
  EXPECT_EQ(flower->GetName(), "flower");
  tick(120);
  ASSERT_TRUE(pickUp(flower));
  shot(player()->pos(), "friends_meadow-flower");
  walkToTheFinish(finished);
  EXPECT_EQ(cutscene.size(), 1) << "Tilda thanks the player";
  ASSERT_EQ(finished.size(), 1);
  EXPECT_EQ(finished.first().first().toString(), "windy_gap");
}

// The windy gorge: stairs up the wall, and a jump down kills unless a parachute is held.
TEST_F(ShippedLevelTest, WindyGorgeKillsAJumperWithoutAParachute)
{
  ASSERT_TRUE(load("windy_gap"));
  player()->MoveTo(QPointF(m2px(13.0), m2px(6.8)));
  QSignalSpy killed(scene, &Scene::playerKilled);
  walk(Right, -1, 600);
  ASSERT_NE(player(), nullptr);
  EXPECT_NEAR(player()->pos().y(), m2px(6.8), 1) << "the figure stops at the edge";
  player()->Jump();
  tick(200);
  EXPECT_EQ(killed.size(), 1);
}

TEST_F(ShippedLevelTest, WindyGorgeIsSolvedWithStairsAndAParachute)
{
  ASSERT_TRUE(load("windy_gap"));
  QSignalSpy finished(scene, &Scene::levelFinished);
  QSignalSpy killed(scene, &Scene::playerKilled);
  walk(Right);
  EXPECT_LT(player()->pos().x(), m2px(4.5)) << "the stream bed stops the player";
  drawLine({{4.5, 9.0}, {5.5, 9.0}, {5.5, 8.27}, {6.5, 8.27}, {6.5, 7.53}, {7.5, 7.53}, {7.5, 6.8}, {8.0, 6.8}});
  walk(Right);
  ASSERT_NE(player(), nullptr);
  EXPECT_NEAR(player()->pos().y(), m2px(6.8), 3) << "along the top of the wall to its far edge";
  EXPECT_GT(player()->pos().x(), m2px(14.0));

  Object* parachute = drawObject("parachute", QPointF(player()->pos().x() - m2px(1.2), m2px(5.0)));
  ASSERT_NE(parachute, nullptr) << "the drawing was recognised";
  EXPECT_EQ(parachute->GetName(), "parachute");
  for (int i = 0; i < 20; ++i)
  {
    scene->SkipCutsceneCue();
    tick(10);
  }
  ASSERT_TRUE(pickUp(parachute));
  walk(Right);
  player()->Jump();
  tick(600);
  EXPECT_TRUE(killed.isEmpty()) << "the parachute carries the player down";
  ASSERT_NE(player(), nullptr);
  EXPECT_NEAR(player()->pos().y(), m2px(10.4), 3);
  shot(player()->pos(), "windy_gap-landed");
  // The last level leads nowhere: reaching its finish shows the closing message.
  const QGraphicsSimpleTextItem* message = scene->GetHUD()->GetMessageItem();
  for (int i = 0; i < 3000 && player() && !message->isVisible(); ++i)
  {
    player()->Move(Right);
    tick(1);
  }
  EXPECT_TRUE(message->isVisible());
  EXPECT_EQ(message->text(), "Home at last. The end of the first chapter!");
  EXPECT_GT(player()->pos().x(), m2px(28.0)) << "by the signpost";
  EXPECT_TRUE(finished.isEmpty());
}
