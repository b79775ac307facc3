#include "CombatTestSupport.h"
#include "ObjectTestSupport.h"

#include "common/ConvertUtils.h"
#include "common/FilePaths.h"
#include "common/GlobalConstants.h"
#include "flow/Cue.h"
#include "flow/HUD.h"
#include "flow/SimpleCutscene.h"
#include "stickman/Animation.h"
#include "stickman/Ragdoll.h"
#include "stickman/Stickman.h"
#include "world/Level.h"
#include "world/Materials.h"
#include "world/Object.h"
#include "world/ObjectCreator.h"
#include "world/ComputerControlledStickman.h"
#include "world/Door.h"
#include "world/EnemyStickman.h"
#include "world/Food.h"
#include "world/MusicalInstrument.h"
#include "world/Scene.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QSignalSpy>
#include <QTextStream>

#include <box2d/b2_body.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>

namespace
{
// A shipped level built on the running scene of the object tests, played
// through the player's commands tick by tick.
class ShippedLevelTest : public SceneTest
{
protected:
  bool load(const QString& name)
  {
    // The scene plays cutscenes the level owns: it goes before the level is replaced.
    shippedScene.reset();
    scene = nullptr;
    if (!materials.Load(GetMaterialsPath()) || !stickmanTemplate.Load(GetStickmanPath()) ||
        !level.Load(GetLevelsPath() + "/" + name + ".xml"))
      return false;
    shippedScene = std::make_unique<Scene>(nullptr);
    scene = shippedScene.get();
    scene->Init(level, &materials, nullptr, &stickmanTemplate);
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
};

// A shipped level built as the game builds it: its own file beside its
// pictures and the objects for its stickmen that the build makes, and its
// stickmen armed as the game arms them.
void buildShippedLevel(CombatFixture& f, const QString& name)
{
  const QDir levels(GetLevelsPath());
  for (const QString& file : levels.entryList({"*.obj", name + ".*.png"}, QDir::Files))
  {
    QFile content(levels.filePath(file));
    ASSERT_TRUE(content.open(QIODevice::ReadOnly));
    f.WriteLevelFile(file, content.readAll());
  }
  QFile level(levels.filePath(name + ".xml"));
  ASSERT_TRUE(level.open(QIODevice::ReadOnly));
  f.Build(level.readAll());
  f.scene().LoadObjectsForStickmen(&f.creator);
}

// The escort road with its bandits armed.
void buildEscortRoad(CombatFixture& f)
{
  buildShippedLevel(f, "escort_road");
  // The bandits take their step towards the player.
  f.Tick(60);
}

/// Walks the player right until it dies, passes x (pixels) or the ticks run out.
void walkRight(CombatFixture& f, double untilXPx, int maxTicks = 2000)
{
  for (int i = 0; i < maxTicks && f.player() && f.player()->pos().x() < untilXPx; ++i)
  {
    f.player()->Move(Right);
    f.Tick();
  }
}

// The guard post as the game loads it, its guard armed.
class GuardPost : public CombatFixture
{
public:
  GuardPost() { buildShippedLevel(*this, "guard_post"); }
  EnemyStickman* guard() { return dynamic_cast<EnemyStickman*>(Npc("guard")); }
  Object* guardsSword() { return dynamic_cast<Object*>(guard()->GetGrabbedItem()); }
  /// Puts the player \a distancePx left of the guard, facing him.
  void standBeforeTheGuard(double distancePx)
  {
    player()->MoveTo(QPointF(guard()->pos().x() - distancePx, player()->pos().y()));
    player()->UpdateCurrentPosture();
  }
};

// The swings a stickman starts.
int swingsOf(Stickman* stickman, const std::function<void()>& meanwhile)
{
  int swings = 0;
  QObject counter;
  QObject::connect(stickman, &Stickman::animationStarted, &counter,
                   [&swings](const QString& name) { swings += name == "swing"; });
  meanwhile();
  return swings;
}

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
  EXPECT_EQ(names, QStringList({"sea_shore", "cliff_path", "high_ledge", "friends_meadow", "windy_gap", "guard_post",
                                "gunman_ledge", "escort_road", "locked_door", "orchard", "fortress_gate",
                                "chasm", "river", "dark_cave", "millpond", "eagle_crag", "chapter_end"}));
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

// The chapter says it is over in one place only: at the end of the last
// level's finish cutscene.
TEST(ShippedLevels, OnlyTheLastLevelSaysTheChapterIsOver)
{
  const QStringList names = chapter();
  QStringList saying;
  for (const QString& name : names)
  {
    Level level(QSizeF(0, 0));
    ASSERT_TRUE(level.Load(GetLevelsPath() + "/" + name + ".xml"));
    for (const Level::FinishArea& area : level.GetFinishAreas())
    {
      const auto* cutscene = dynamic_cast<const SimpleCutscene*>(area.cutscene);
      if (cutscene && !cutscene->GetCues().isEmpty() &&
          cutscene->GetCues().last().GetText() == "The end of the first chapter!")
        saying << name;
    }
  }
  EXPECT_EQ(saying, QStringList(names.last()));
}

// The painted pictures cover the level, the background without alpha, and the
// pencil line of every piece of ground lies where the figure's feet will stand on it.
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
    // Without alpha the scene shows these very pixels rather than a copy.
    EXPECT_FALSE(background.hasAlphaChannel());
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

// Each level asks for more than walking right: a walker stops at its obstacle
// and does not finish (the replays in tests/tools/play solve them).
TEST_F(ShippedLevelTest, WalkingAloneStopsAtEachLevelsObstacle)
{
  struct Case
  {
    const char* name;
    double stopsBeforeXM;
  };
  for (const Case& c : {Case{"sea_shore", 18.0}, Case{"cliff_path", 14.0}, Case{"high_ledge", 12.0},
                        Case{"windy_gap", 4.5}, Case{"eagle_crag", 14.0}})
  {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(load(c.name));
    QSignalSpy finished(scene, &Scene::levelFinished);
    walk(Right);
    ASSERT_NE(player(), nullptr);
    EXPECT_LT(player()->pos().x(), m2px(c.stopsBeforeXM));
    EXPECT_TRUE(finished.isEmpty());
  }
  // Tilda's finish area waits for a flower: empty hands walk past her.
  ASSERT_TRUE(load("friends_meadow"));
  QSignalSpy finished(scene, &Scene::levelFinished);
  QSignalSpy cutscene(scene, &Scene::cutsceneStarted);
  walk(Right, m2px(23.0));
  EXPECT_GT(player()->pos().x(), m2px(22.0));
  EXPECT_TRUE(finished.isEmpty());
  EXPECT_TRUE(cutscene.isEmpty());
}

// At the top of the crag the eagle comes in at the top of the level, on the
// screen beside the figure, and carries it up out of sight before the end
// page; the helicopter's flight over the summit passes above the finish.
TEST_F(ShippedLevelTest, TheEagleCarriesTheFigureOffTheSummitToTheEndPage)
{
  ASSERT_TRUE(load("eagle_crag"));
  const Level::FinishArea& top = level.GetFinishAreas().first();
  EXPECT_FALSE(top.area.contains(QPointF(30.0, 2.6))) << "feet in a helicopter flying at the top";
  player()->MoveTo(QPointF(m2px(26.0), m2px(4.0)));
  tick(30);
  QSignalSpy cutscene(scene, &Scene::cutsceneStarted);
  QSignalSpy finished(scene, &Scene::levelFinished);
  walk(Right, m2px(28.1));
  ASSERT_EQ(cutscene.size(), 1);
  const QPointF neck = player()->scenePos() - QPointF(0, 0.9 * bv::StickmanHeightPx);

  // The eagle is the one picture standing with the figures.
  QGraphicsPixmapItem* eagle = nullptr;
  for (QGraphicsItem* item : scene->items())
    if (item->zValue() == bv::StickmanZValue && dynamic_cast<QGraphicsPixmapItem*>(item))
      eagle = static_cast<QGraphicsPixmapItem*>(item);
  ASSERT_NE(eagle, nullptr);
  const QRectF entering = eagle->sceneBoundingRect();
  EXPECT_LT(entering.top(), 0) << "it comes down from above the top edge";
  EXPECT_GT(entering.bottom(), 0);
  EXPECT_GT(entering.left(), neck.x() - 1920) << "within a screen of the figure";

  for (int i = 0; i < 600 && finished.isEmpty(); ++i)
    tick(1);
  ASSERT_EQ(finished.size(), 1);
  EXPECT_EQ(finished.first().first().toString(), "chapter_end");
  ASSERT_EQ(scene->GetRagdolls().size(), 1);
  const Ragdoll::Element* carried = scene->GetRagdolls().first()->FindElementByName("neck");
  ASSERT_NE(carried, nullptr);
  EXPECT_LT(m2px(carried->body->GetPosition().y), m2px(1.0)) << "carried up to the top of the level";
}

// The dark cave lets the player out only in the light: a walker in the dark
// reaches the far end and stays in the cave.
TEST_F(ShippedLevelTest, TheDarkCavesWayOutShowsOnlyInTheLight)
{
  ASSERT_TRUE(load("dark_cave"));
  ASSERT_NE(scene->GetDarknessLayer(), nullptr);
  QSignalSpy finished(scene, &Scene::levelFinished);
  QSignalSpy cutscene(scene, &Scene::cutsceneStarted);
  walk(Right, m2px(31.0));
  ASSERT_NE(player(), nullptr);
  EXPECT_GT(player()->pos().x(), m2px(30.0));
  EXPECT_EQ(scene->GetFinishAreaReached(), nullptr);
  EXPECT_TRUE(finished.isEmpty());
  EXPECT_TRUE(cutscene.isEmpty());
}

// The mill pond's two ways over wait for things in the water: a boat afloat
// at the landing, a rock on the bottom where the old pier stood. Each place
// keeps out the other kind, drawn right there: what sinks goes down out of the
// boat's place, what floats comes up out of the rock's. Only the boat and the
// rock end the level when the player walks up to Hob; a plank or a car draws a
// remark from him.
TEST_F(ShippedLevelTest, TheMillPondTellsWhatFloatsFromWhatSinks)
{
  struct Case
  {
    const char* name;
    double sizePx;
    bool floats;
  };
  for (const Case& c : {Case{"boat", 180, true}, Case{"plank", 150, true}, Case{"rock", 60, false},
                        Case{"car", 250, false}})
  {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(load("millpond"));
    const QList<Level::FinishArea>& areas = level.GetFinishAreas();
    ASSERT_EQ(areas.size(), 2);
    ASSERT_EQ(areas[0].objectsInArea.objects.size(), 1);
    ASSERT_EQ(areas[1].objectsInArea.objects.size(), 1);
    const QRectF onTheBottom = areas[0].objectsInArea.objects.first().area;
    const QRectF afloat = areas[1].objectsInArea.objects.first().area;
    const auto inPlace = [this, &c](const QRectF& place) {
      Level::ObjectsInAreaCondition condition;
      condition.objects << Level::ObjectInArea{c.name, place};
      return condition.IsTrue(scene);
    };

    // The one place where both kinds are wanted and could meet: over the water
    // inside both, between the landing and the middle of the pond.
    const double xM = (std::max(onTheBottom.left(), afloat.left()) + std::min(onTheBottom.right(), afloat.right())) / 2;
    ObjectCreator creator;
    creator.Init(scene, &materials, nullptr);
    QSignalSpy remarks(scene, &Scene::cutsceneStarted);
    draw(creator, PlaceStrokes(Reference(c.name, "", c.sizePx), QPointF(m2px(xM), m2px(8.6))));
    ASSERT_FALSE(scene->GetObjects().isEmpty());
    ASSERT_EQ(scene->GetObjects().last()->GetName(), c.name);
    // A floater never quite lies still: it bobs. So past the splash (Hob's
    // remarks let go by) it is watched for a while, and each place must hold
    // its own kind and keep out the other all along.
    int wrong = 0;
    for (int i = 0; i < 900; ++i)
    {
      tick(1);
      scene->SkipCutsceneCue();
      if (i >= 500)
        wrong += inPlace(afloat) != c.floats || inPlace(onTheBottom) == c.floats;
    }
    EXPECT_EQ(wrong, 0) << "of 400 ticks";
    const bool wanted = QString(c.name) == "boat" || QString(c.name) == "rock";
    EXPECT_EQ(remarks.count(), wanted ? 0 : 1) << "Hob remarks on the wrong thing";

    walk(Right, m2px(8.5));
    ASSERT_NE(player(), nullptr);
    const Level::FinishArea* reached = scene->GetFinishAreaReached();
    ASSERT_EQ(reached != nullptr, wanted);
    if (reached)
    {
      EXPECT_EQ(reached->cutscene, areas[c.floats ? 1 : 0].cutscene) << "Hob says what worked";
    }
  }
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

// The gunman's ledge: Rook's line of fire passes over the road and the rock
// step, and meets whoever comes up onto his ledge.
TEST_F(ShippedLevelTest, TheGunmanShootsOnlyWhoComesUpToHisLedge)
{
  ASSERT_TRUE(load("gunman_ledge"));
  ObjectCreator creator;
  creator.Init(scene, &materials, nullptr);
  scene->LoadObjectsForStickmen(&creator);
  ASSERT_EQ(scene->GetNpcs().size(), 1);
  Stickman* rook = scene->GetNpcs().first();
  auto* pistol = dynamic_cast<Object*>(rook->GetGrabbedItem());
  ASSERT_NE(pistol, nullptr);
  EXPECT_EQ(pistol->GetCategory(), ObjectCategory::Firearm);
  QSignalSpy killed(scene, &Scene::playerKilled);
  QStringList rooksMoves;
  QObject::connect(rook, &Stickman::animationStarted, [&rooksMoves](QString name) { rooksMoves << name; });

  // Onto the rock step, right below the ledge, and long enough for him to aim.
  walk(Right, m2px(13.6));
  tick(200);
  ASSERT_NE(player(), nullptr);
  EXPECT_NEAR(player()->pos().y(), m2px(8.4), 1);
  EXPECT_TRUE(killed.isEmpty());
  EXPECT_FALSE(rooksMoves.contains("shoot"));
  EXPECT_EQ(rook->GetFacingDirection(), Left) << "he faces the player all the same";

  walk(Right, m2px(18.0));
  EXPECT_EQ(killed.size(), 1);
  EXPECT_EQ(rooksMoves.count("shoot"), 1);
  EXPECT_EQ(player(), nullptr);
}

// Each object a level's stickman can hold at the start is drawn as the thing it
// names, and reaches the hand no larger than one a player draws.
TEST(ShippedLevels, HeldObjectsArriveInTheHandAsWhatTheyName)
{
  const QStringList files = QDir(GetLevelsPath()).entryList({"*.obj"}, QDir::Files);
  ASSERT_FALSE(files.isEmpty());
  for (const QString& file : files)
  {
    const QString name = QFileInfo(file).completeBaseName();
    SCOPED_TRACE(name.toStdString());
    CombatFixture f;
    QFile source(GetLevelsPath() + "/" + file);
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    f.WriteLevelFile(file, source.readAll());
    f.Build(SceneLevel(R"(<start x="2" y="9"/><ground><region x="0" y="9" width="30" height="1"/></ground>
      <npc><friend x="9" y="9" name="ann" grabbed-object=")" + name.toUtf8() + R"("/></npc>)"));
    f.scene().LoadObjectsForStickmen(&f.creator);
    auto* held = dynamic_cast<Object*>(f.Npc("ann")->GetGrabbedItem());
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(held->GetName(), name);
    const QSizeF limit = f.creator.getObjectInfo(name).maximumSize;
    const QRectF drawn = held->GetItem()->boundingRect();
    EXPECT_LE(held->GetItem()->scale() * std::max(drawn.width(), drawn.height()),
              std::max(limit.width(), limit.height()) + 2);
  }
}

// Oskar cannot walk, so the finish is where he stands; it waits until both
// bandits have let go of their weapons.
TEST(ShippedLevels, TheEscortRoadEndsByOskarOnceBothBanditsAreDisarmed)
{
  CombatFixture f;
  buildEscortRoad(f);
  auto* brom = dynamic_cast<EnemyStickman*>(f.Npc("brom"));
  auto* vask = dynamic_cast<EnemyStickman*>(f.Npc("vask"));
  ComputerControlledStickman* oskar = f.Npc("oskar");
  ASSERT_TRUE(brom && vask && oskar);
  EXPECT_TRUE(oskar->IsVip());
  EXPECT_EQ(dynamic_cast<EnemyStickman*>(oskar), nullptr) << "a friend, who takes no decisions";
  ASSERT_NE(brom->GetGrabbedItem(), nullptr);
  ASSERT_NE(vask->GetGrabbedItem(), nullptr);

  // Beside Oskar, out of Vask's reach.
  const auto arriveByOskar = [&f] {
    f.player()->MoveTo(QPointF(m2px(23.0), m2px(9.0)));
    return f.scene().GetFinishAreaReached() != nullptr;
  };
  EXPECT_FALSE(arriveByOskar()) << "both armed";
  brom->SetPeaceful(true);
  f.Tick(100);
  EXPECT_EQ(brom->GetGrabbedItem(), nullptr);
  EXPECT_FALSE(arriveByOskar()) << "Vask still holds his sword";
  vask->SetPeaceful(true);
  f.Tick(100);
  EXPECT_TRUE(arriveByOskar());
  EXPECT_EQ(f.scene().GetKilledCount(), 0);
}

// What is at stake: a blow meant for the player reaches Oskar when it is
// struck beside him, Vask's as well as the player's own.
TEST(ShippedLevels, OnTheEscortRoadBlowsStruckBesideOskarKillHim)
{
  {
    CombatFixture f;
    buildEscortRoad(f);
    QSignalSpy vipKilled(&f.scene(), &Scene::vipKilled);
    // Slipped past Vask, in front of Oskar.
    f.player()->MoveTo(QPointF(m2px(20.7), m2px(9.0)));
    f.Tick(60);
    EXPECT_EQ(vipKilled.count(), 1);
    EXPECT_EQ(f.scene().GetHUD()->GetMessageItem()->text(), "Oskar killed!");
  }
  {
    CombatFixture f;
    buildEscortRoad(f);
    QSignalSpy vipKilled(&f.scene(), &Scene::vipKilled);
    f.scene().MakeNpcsPeaceful(true);
    f.Tick(60);
    // A spear swung a metre short of him.
    f.player()->MoveTo(QPointF(m2px(20.3), m2px(9.0)));
    f.Give(f.player(), "spear");
    f.player()->Use();
    ASSERT_TRUE(f.TickUntilIdle(f.player()));
    EXPECT_EQ(vipKilled.count(), 1);
  }
}

// The guard steps into his stance facing the way the player comes, turns to a
// player behind him, and his first blow kills whoever comes within reach of
// his sword: walking, jumping, or armed with a sword no longer than his.
TEST(GuardPostTest, TheGuardStrikesFirstAtWhoeverComesWithinHisReach)
{
  {
    GuardPost f;
    ASSERT_NE(f.guard(), nullptr);
    ASSERT_NE(f.guardsSword(), nullptr);
    EXPECT_EQ(f.guardsSword()->GetName(), "sword");
    f.Tick(60);
    EXPECT_EQ(f.guard()->GetFacingDirection(), Left);
    const double post = f.guard()->pos().x();
    EXPECT_LT(post, m2px(16.4)) << "a step forward into his stance";
    QSignalSpy killed(&f.scene(), &Scene::playerKilled);
    walkRight(f, m2px(20));
    EXPECT_EQ(killed.count(), 1) << "an empty-handed walker";
    EXPECT_EQ(f.guard()->pos().x(), post) << "he keeps his post";
  }
  {
    GuardPost f;
    f.Tick(60);
    f.standBeforeTheGuard(m2px(2.5));
    QSignalSpy killed(&f.scene(), &Scene::playerKilled);
    f.player()->Jump();
    walkRight(f, m2px(20), 300);
    EXPECT_EQ(killed.count(), 1) << "a jumper";
  }
  {
    GuardPost f;
    f.Tick(60);
    f.Give(f.player(), "sword", EnemyStickman::GetColdWeaponLength(f.guardsSword()));
    f.standBeforeTheGuard(m2px(3));
    QSignalSpy killed(&f.scene(), &Scene::playerKilled);
    // The player strikes the moment it is as near as his blade reaches.
    const double reach = f.guard()->GetColdWeaponReach() + bv::HandReachDistance;
    for (int i = 0; i < 600 && f.player(); ++i)
    {
      if (f.guard()->pos().x() - f.player()->pos().x() > reach)
        f.player()->Move(Right);
      else
        f.player()->Use();
      f.Tick();
    }
    EXPECT_EQ(killed.count(), 1) << "a swordsman with as long a sword";
    EXPECT_EQ(f.scene().GetKilledCount(), 0);
  }
  {
    // Behind him in the gateway, the player is faced first, then cut down.
    GuardPost f;
    f.Tick(60);
    f.player()->MoveTo(f.guard()->pos() + QPointF(80, 0));
    QSignalSpy killed(&f.scene(), &Scene::playerKilled);
    f.Tick();
    EXPECT_EQ(f.guard()->GetFacingDirection(), Right);
    EXPECT_EQ(killed.count(), 0);
    f.Tick(100);
    EXPECT_EQ(killed.count(), 1);
  }
}

// A shield held up to him turns every blow back; a blade longer than his
// reaches him from where his cannot reach.
TEST(GuardPostTest, AShieldTurnsHisBlowsBackAndALongerBladeOutreachesHim)
{
  {
    GuardPost f;
    f.Tick(60);
    f.Give(f.player(), "shield");
    f.standBeforeTheGuard(100);
    QSignalSpy killed(&f.scene(), &Scene::playerKilled);
    EXPECT_GE(swingsOf(f.guard(), [&f] { f.Tick(300); }), 10);
    EXPECT_EQ(killed.count(), 0);
  }
  for (const char* blade : {"spear", "pollaxe"})
  {
    SCOPED_TRACE(blade);
    GuardPost f;
    f.Tick(60);
    f.Give(f.player(), blade);
    f.standBeforeTheGuard(f.guard()->GetColdWeaponReach() + bv::HandReachDistance + 20);
    const int swings = swingsOf(f.guard(), [&f] {
      f.player()->Use();
      f.Tick(100);
    });
    EXPECT_EQ(f.guard(), nullptr) << "killed";
    EXPECT_EQ(swings, 0);
    ASSERT_NE(f.player(), nullptr);
  }
}

// A tune played out of his reach makes him peaceful: he drops his sword and
// the player walks past him into the finish.
TEST(GuardPostTest, ATuneMakesHimLetThePlayerThrough)
{
  GuardPost f;
  f.Tick(60);
  auto* guitar = dynamic_cast<MusicalInstrument*>(f.Give(f.player(), "guitar"));
  ASSERT_NE(guitar, nullptr);
  f.player()->Use();
  ASSERT_TRUE(f.TickUntilIdle(f.player()));
  f.Tick(5);
  EXPECT_EQ(f.guard()->GetGrabbedItem(), nullptr);
  walkRight(f, m2px(26), 3000);
  ASSERT_NE(f.player(), nullptr);
  EXPECT_NE(f.scene().GetFinishAreaReached(), nullptr);
  EXPECT_NE(f.guard(), nullptr);
}

// The town gate as the game loads it, its door shut.
class LockedGate : public CombatFixture
{
public:
  LockedGate() { buildShippedLevel(*this, "locked_door"); }
  Door* door() { return scene().GetDoors().value(0); }
  double doorX() { return door()->GetGroundPos().x(); }
};

// Neither walking nor jumping passes the shut door: a jump under the wall is refused,
// one from further away lands short of it.
TEST(LockedGateTest, TheShutDoorBarsWalkersAndJumpers)
{
  LockedGate f;
  ASSERT_NE(f.door(), nullptr);
  EXPECT_TRUE(f.door()->IsClosed());
  walkRight(f, m2px(21), 800);
  ASSERT_NE(f.player(), nullptr);
  EXPECT_LT(f.player()->pos().x(), f.doorX());
  EXPECT_GT(f.player()->pos().x(), f.doorX() - m2px(1.0)) << "it stops at the door, not before";

  int jumps = 0;
  QObject counter;
  QObject::connect(f.player(), &Stickman::animationStarted, &counter,
                   [&jumps](const QString& name) { jumps += name == AnimationNames::JumpStart; });
  for (double run = 0.4; run <= 4.6; run += 0.3)
  {
    SCOPED_TRACE(run);
    f.player()->MoveTo(QPointF(f.doorX() - m2px(run), f.player()->pos().y()));
    f.player()->UpdateCurrentPosture();
    f.player()->Jump();
    for (int i = 0; i < 150; ++i)
    {
      f.player()->Move(Right);
      f.Tick();
    }
    ASSERT_NE(f.player(), nullptr);
    EXPECT_LT(f.player()->pos().x(), f.doorX());
  }
  EXPECT_GT(jumps, 0) << "some of them jumped";
  EXPECT_EQ(f.scene().GetFinishAreaReached(), nullptr);
}

// The first way through: a key used at the door swings it open.
TEST(LockedGateTest, AKeyUsedAtTheDoorOpensTheWayToTheFinish)
{
  LockedGate f;
  walkRight(f, m2px(21), 800);
  f.Give(f.player(), "key");
  f.player()->Use();
  ASSERT_TRUE(f.TickUntilIdle(f.player()));
  f.Tick(100);
  EXPECT_TRUE(qFuzzyIsNull(f.door()->GetAngle())) << "open";
  EXPECT_FALSE(f.door()->IsBroken());
  walkRight(f, m2px(21), 1500);
  ASSERT_NE(f.player(), nullptr);
  EXPECT_NE(f.scene().GetFinishAreaReached(), nullptr);
}

// The second: a blade's blows bounce off twice, the third breaks the door, and
// its planks lying beyond the gateway do not stop the player.
TEST(LockedGateTest, TheThirdBladeBlowBreaksTheDoorAndItsPlanksLetThePlayerPass)
{
  for (const char* blade : {"sword", "axe", "sabre", "spear"})
  {
    SCOPED_TRACE(blade);
    LockedGate f;
    walkRight(f, m2px(21), 800);
    f.Give(f.player(), blade);
    for (int blow = 1; blow <= 3; ++blow)
    {
      SCOPED_TRACE(blow);
      f.player()->Use();
      ASSERT_TRUE(f.TickUntilIdle(f.player()));
      EXPECT_EQ(f.door()->IsBroken(), blow == 3);
    }
    f.Tick(120);
    walkRight(f, m2px(21), 1500);
    ASSERT_NE(f.player(), nullptr);
    EXPECT_NE(f.scene().GetFinishAreaReached(), nullptr);
  }
}

// The orchard with the mushroom the player starts with, made with a chosen
// seed: whether it is poisonous is decided when it is made.
Food* buildOrchard(CombatFixture& f, unsigned seed)
{
  std::srand(seed);
  buildShippedLevel(f, "orchard");
  return f.player() ? dynamic_cast<Food*>(f.player()->GetGrabbedItem()) : nullptr;
}

// A seed whose orchard mushroom is (or is not) poisonous.
unsigned orchardSeed(bool poisonous)
{
  for (unsigned seed = 1; seed < 64; ++seed)
  {
    CombatFixture f;
    Food* mushroom = buildOrchard(f, seed);
    if (mushroom && mushroom->IsPoisonous() == poisonous)
      return seed;
  }
  return 0;
}

// The temptation: the mushroom in the player's hand kills when it is a
// poisonous one, and the game is lost.
TEST(OrchardTest, EatingAPoisonousMushroomKillsThePlayer)
{
  const unsigned seed = orchardSeed(true);
  ASSERT_NE(seed, 0u);
  CombatFixture f;
  Food* mushroom = buildOrchard(f, seed);
  ASSERT_NE(mushroom, nullptr);
  EXPECT_EQ(mushroom->GetName(), "mushroom");
  QSignalSpy killed(&f.scene(), &Scene::playerKilled);
  f.player()->Use();
  for (int i = 0; i < 200 && f.player(); ++i)
    f.Tick();
  EXPECT_EQ(killed.count(), 1);
  EXPECT_EQ(f.player(), nullptr);
  EXPECT_EQ(f.scene().GetHUD()->GetMessageItem()->text(), "Some mushrooms are poisonous");
}

// Mira is fed only safe food: neither the mushroom nor empty hands end the
// level, an apple or a ham does.
TEST(OrchardTest, MiraWaitsForAnAppleOrAHam)
{
  const unsigned seed = orchardSeed(false);
  ASSERT_NE(seed, 0u);
  const auto byMira = [](CombatFixture& f) {
    f.player()->MoveTo(QPointF(m2px(15.5), m2px(9.0)));
    return f.scene().GetFinishAreaReached() != nullptr;
  };
  {
    CombatFixture f;
    ASSERT_NE(buildOrchard(f, seed), nullptr);
    EXPECT_FALSE(byMira(f)) << "the mushroom";
  }
  {
    CombatFixture f;
    ASSERT_NE(buildOrchard(f, seed), nullptr);
    f.player()->Use();
    ASSERT_TRUE(f.TickUntilIdle(f.player()));
    ASSERT_NE(f.player(), nullptr) << "a safe mushroom";
    EXPECT_EQ(f.player()->GetGrabbedItem(), nullptr) << "eaten";
    EXPECT_FALSE(byMira(f)) << "empty hands";
  }
  for (const char* food : {"apple", "ham"})
  {
    SCOPED_TRACE(food);
    CombatFixture f;
    ASSERT_NE(buildOrchard(f, seed), nullptr);
    f.player()->DropItem();
    f.Give(f.player(), food);
    EXPECT_TRUE(byMira(f));
  }
}
