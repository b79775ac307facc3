#include "SceneTestSupport.h"

#include "common/BodyUserData.h"
#include "common/ConvertUtils.h"
#include "common/GlobalConstants.h"
#include "flow/Bubble.h"
#include "flow/Cue.h"
#include "flow/DisappearingThinkBubble.h"
#include "flow/HUD.h"
#include "flow/SayBubble.h"
#include "flow/SimpleCutscene.h"
#include "flow/ThinkBubble.h"
#include "stickman/Animation.h"
#include "stickman/Grabable.h"
#include "stickman/Ragdoll.h"
#include "world/BlurEffect.h"
#include "world/ComputerControlledStickman.h"
#include "world/FixtureCreators.h"
#include "world/Object.h"

#include <box2d/b2_body.h>
#include <box2d/b2_fixture.h>
#include <box2d/b2_polygon_shape.h>
#include <box2d/b2_world.h>

#include <QGraphicsPixmapItem>
#include <QGraphicsRectItem>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsTextItem>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
// Floor along the whole level, its top at y = 9 m (900 px); the player at x = 2 m.
const QByteArray FlatLevel = SceneLevel(R"(
  <start x="2" y="9"/>
  <ground><region x="0" y="9" width="30" height="1" footsteps-sound="steps"/></ground>
)");

b2Body* addFallingBox(Scene& scene, const QPointF& posM)
{
  b2BodyDef def;
  def.type = b2_dynamicBody;
  def.position = Point2Vec(posM);
  b2Body* body = scene.GetWorld()->CreateBody(&def);
  b2PolygonShape box;
  box.SetAsBox(0.1f, 0.1f);
  body->CreateFixture(&box, 1.0f);
  return body;
}

template <class T>
QList<T*> itemsOfType(QGraphicsScene& scene)
{
  QList<T*> found;
  for (QGraphicsItem* item : scene.items())
    if (auto* typed = dynamic_cast<T*>(item))
      found.append(typed);
  return found;
}

QString hudMessage(Scene& scene)
{
  QGraphicsSimpleTextItem* item = scene.GetHUD()->GetMessageItem();
  return item && item->isVisible() ? item->text() : QString();
}

// Held, it makes a fall slow and steady.
struct Parachute : Grabable
{
  QString GetName() const override { return "parachute"; }
  void OnGrab(Stickman*) override {}
  void OnRelease() override {}
  void SetHandPosition(QPointF) override {}
  void SetArmAngle(double) override {}
  void SetFacingDirection(Direction) override {}
  Usable* GetUsable() override { return nullptr; }
};

// The order in which the scene's signals arrive.
class SignalLog : public QObject
{
public:
  explicit SignalLog(Scene& scene)
  {
    connect(&scene, &Scene::cutsceneStarted, this, [this] { events << "cutsceneStarted"; });
    connect(&scene, &Scene::cutsceneFinished, this, [this] { events << "cutsceneFinished"; });
    connect(&scene, &Scene::levelFinished, this, [this](QString next) { events << "levelFinished " + next; });
    connect(&scene, &Scene::pageTurnFinished, this, [this] { events << "pageTurnFinished"; });
    connect(&scene, &Scene::playerKilled, this, [this] { events << "playerKilled"; });
    connect(&scene, &Scene::vipKilled, this, [this] { events << "vipKilled"; });
  }

  QStringList events;
};
} // namespace

TEST(SceneTest, APausedSceneStepsNothingAndSaysNothing)
{
  SceneFixture f;
  f.Build(FlatLevel);
  b2Body* box = addFallingBox(f.scene(), QPointF(10, 2));
  SignalLog log(f.scene());
  f.scene().Pause();
  f.Tick(10);
  EXPECT_EQ(box->GetPosition().y, 2.0f);
  EXPECT_TRUE(log.events.isEmpty());
  f.scene().Resume();
  f.Tick();
  EXPECT_GT(box->GetPosition().y, 2.0f);
}

TEST(SceneTest, ASceneNeverBuiltNeverRuns)
{
  // A drawing finished over it resumes it, as over any scene.
  Scene scene(nullptr);
  scene.Pause();
  scene.Resume();
  EXPECT_TRUE(scene.IsPaused());
  scene.advance();
  EXPECT_EQ(scene.GetWorld(), nullptr);
}

TEST(SceneTest, ThePageCurlHoldsTheWorldUntilItEndsAndAnnouncesItOnce)
{
  SceneFixture f;
  f.Build(FlatLevel);
  b2Body* box = addFallingBox(f.scene(), QPointF(10, 2));
  SignalLog log(f.scene());
  QPixmap page(100, 50);
  page.fill(Qt::white);
  f.scene().TurnThePage(page, QPointF(0, 0));
  // (100 + 50) px in 62.5 ticks: 2.4 px a tick, done on the 63rd.
  f.Tick(62);
  EXPECT_EQ(box->GetPosition().y, 2.0f);
  EXPECT_TRUE(log.events.isEmpty());
  f.Tick();
  EXPECT_EQ(log.events, QStringList{"pageTurnFinished"});
  // That tick went on with the world.
  EXPECT_GT(box->GetPosition().y, 2.0f);
  f.Tick(5);
  EXPECT_EQ(log.events.size(), 1);
}

TEST(SceneTest, AFinishAreaWithoutCutsceneShowsItsMessageAndEndsTheLevelOnTheNextTick)
{
  SceneFixture f;
  f.Build(SceneLevel(R"(
  <start x="2" y="9"/>
  <finish><area x="5" y="7" width="2" height="3" message="Well done" next-level="hills"/></finish>
  <ground><region x="0" y="9" width="30" height="1"/></ground>
)"));
  SignalLog log(f.scene());
  f.Tick(3);
  EXPECT_TRUE(log.events.isEmpty());
  EXPECT_EQ(hudMessage(f.scene()), "");
  f.player()->MoveTo(QPointF(550, 900));
  EXPECT_EQ(hudMessage(f.scene()), "Well done");
  EXPECT_TRUE(log.events.isEmpty());
  f.Tick();
  EXPECT_EQ(log.events, QStringList{"levelFinished hills"});
  // Moving about in the area again finishes nothing more.
  f.player()->MoveTo(QPointF(560, 900));
  f.Tick(5);
  EXPECT_EQ(log.events.size(), 1);
}

TEST(SceneTest, WalkingIntoAFinishAreaEndsTheLevelInTheTickOfTheStep)
{
  SceneFixture f;
  f.Build(SceneLevel(R"(
  <start x="2" y="9"/>
  <finish><area x="2.3" y="7" width="2" height="3" message="Done" next-level="next"/></finish>
  <ground><region x="0" y="9" width="30" height="1"/></ground>
)"));
  int tick = 0;
  int enteredAt = -1;
  int finishedAt = -1;
  QObject::connect(f.player(), &Stickman::moved, [&](QPointF pos) {
    if (enteredAt < 0 && pos.x() >= 230)
      enteredAt = tick;
  });
  QObject::connect(&f.scene(), &Scene::levelFinished, [&](QString) { finishedAt = tick; });
  for (tick = 1; tick <= 200 && finishedAt < 0; ++tick)
  {
    f.player()->Move(Right);
    f.scene().advance();
  }
  ASSERT_GT(enteredAt, 0);
  EXPECT_EQ(finishedAt, enteredAt);
}

TEST(SceneTest, AFinishCutscenePlaysOutBeforeTheLevelEndsInTheSameTick)
{
  SceneFixture f;
  f.Build(SceneLevel(R"(
  <start x="2" y="9"/>
  <finish>
    <area x="5" y="7" width="2" height="3" message="unused" next-level="hills">
      <cutscene><cue from="player" text="Finally."/></cutscene>
    </area>
  </finish>
  <ground><region x="0" y="9" width="30" height="1"/></ground>
)"));
  SignalLog log(f.scene());
  f.player()->MoveTo(QPointF(550, 900));
  EXPECT_EQ(hudMessage(f.scene()), "");
  f.Tick();
  EXPECT_EQ(log.events, QStringList{"cutsceneStarted"});
  EXPECT_EQ(itemsOfType<SayBubble>(f.scene()).size(), 1);
  f.Tick();
  EXPECT_EQ(log.events, QStringList({"cutsceneStarted", "cutsceneFinished", "levelFinished hills"}));
  EXPECT_TRUE(itemsOfType<Bubble>(f.scene()).isEmpty());
  f.Tick(3);
  EXPECT_EQ(log.events.size(), 3);
}

TEST(SceneTest, APlayerStartingInAFinishAreaFinishesAtInit)
{
  SceneFixture f;
  f.Build(SceneLevel(R"(
  <start x="2" y="9"/>
  <finish><area x="1" y="7" width="2" height="3" message="Too easy" next-level="two"/></finish>
  <ground><region x="0" y="9" width="30" height="1"/></ground>
)"));
  EXPECT_EQ(hudMessage(f.scene()), "Too easy");
  SignalLog log(f.scene());
  f.Tick();
  EXPECT_EQ(log.events, QStringList{"levelFinished two"});
}

TEST(SceneTest, FinishConditionsOnFacingAndHeldObjectMustHold)
{
  SceneFixture f;
  f.Build(SceneLevel(R"(
  <start x="2" y="9"/>
  <finish>
    <area x="5" y="7" width="2" height="3" message="facing" next-level="a">
      <conditions><face-direction direction="left"/></conditions>
    </area>
    <area x="5" y="7" width="2" height="3" message="holding" next-level="b">
      <conditions><grabbed-object name="key"/></conditions>
    </area>
  </finish>
  <ground><region x="0" y="9" width="30" height="1"/></ground>
)"));
  SignalLog log(f.scene());
  f.player()->MoveTo(QPointF(550, 900));
  f.Tick();
  EXPECT_TRUE(log.events.isEmpty());
  f.player()->TurnAround();
  f.player()->MoveTo(QPointF(560, 900));
  f.Tick();
  EXPECT_EQ(log.events, QStringList{"levelFinished a"});
}

TEST(SceneTest, ObjectsInAreaCountOnlyWhenEveryOneIsThere)
{
  SceneFixture f;
  f.Build(SceneLevel(R"(
  <start x="2" y="9"/>
  <finish>
    <area x="5" y="7" width="2" height="3" message="Delivered" next-level="next">
      <conditions>
        <object-in-area name="bomb" x="10" y="8" width="2" height="1"/>
        <object-in-area name="apple" x="14" y="8" width="2" height="1"/>
      </conditions>
    </area>
  </finish>
  <ground><region x="0" y="9" width="30" height="1"/></ground>
)"));
  auto place = [&](const char* name, const QPointF& centrePx) {
    Object* object = Object::Create(name);
    auto* item = new QGraphicsRectItem(-10, -10, 20, 20);
    item->setPos(centrePx);
    f.scene().addItem(item);
    object->Init(&f.scene(), item, new RectFixtureCreator(20, 20), Material(), GrabableInfo(), UsableInfo(),
                 QSizeF(-1, -1), ObjectSoundsInfo(), LightSourceInfo(), true);
    object->startPhysicsSimulation();
    f.scene().AddObject(object, false);
  };
  SignalLog log(f.scene());
  place("bomb", QPointF(1100, 880));
  f.player()->MoveTo(QPointF(550, 900));
  f.Tick();
  EXPECT_TRUE(log.events.isEmpty());
  place("apple", QPointF(1500, 880));
  f.player()->MoveTo(QPointF(560, 900));
  f.Tick();
  EXPECT_EQ(log.events, QStringList{"levelFinished next"});
}

TEST(SceneTest, StepsUpTo80PixelsAndNoHigher)
{
  for (const double riseM : {0.79, 0.81})
  {
    SceneFixture f;
    // The floor ends at 3 m; the step beyond it is the only surface there.
    f.Build(SceneLevel(QByteArray(R"(
  <start x="2" y="9"/>
  <ground>
    <region x="0" y="9" width="3" height="1"/>
    <region x="3" y=")") + QByteArray::number(9 - riseM) + R"(" width="3" height="2"/>
  </ground>
)"));
    Stickman* player = f.player();
    const double distance = 400 - 200 - player->GetActualSize().width() / 2;
    QPointF offset;
    const bool allowed = f.scene().CanStickmanStep(player, distance, offset);
    if (riseM < 0.8)
    {
      EXPECT_TRUE(allowed);
      EXPECT_NEAR(offset.y(), -79, 1e-3);
    }
    else
    {
      EXPECT_FALSE(allowed);
      EXPECT_EQ(offset, QPointF());
    }
  }
}

// Stairs drawn on the ground lie on top of it: the figure steps up onto the
// step, not on along the ground under it, in whichever order the world holds them.
TEST(SceneTest, AStepOnTheGroundIsSteppedOntoNotWalkedInto)
{
  const QByteArray floor = R"(<region x="0" y="9" width="30" height="1"/>)";
  const QByteArray step = R"(<region x="3" y="8.4" width="1.2" height="0.6"/>)";
  for (const QByteArray& regions : {floor + step, step + floor})
  {
    SceneFixture f;
    f.Build(SceneLevel(R"(
  <start x="2" y="9"/>
  <ground>)" + regions + R"(</ground>
)"));
    Stickman* player = f.player();
    QPointF offset;
    for (double distance = 10; distance < 150; distance += 10)
    {
      // Every step whose front lands on the step goes up onto it.
      const double frontX = 200 + distance + player->GetActualSize().width() / 2;
      if (frontX < 301 || frontX > 419)
        continue;
      ASSERT_TRUE(f.scene().CanStickmanStep(player, distance, offset)) << distance;
      EXPECT_NEAR(offset.y(), -60, 1e-3) << distance << " " << regions.constData();
    }
  }
}

TEST(SceneTest, AWallBlocksAStepOnlyWhenItRisesAboveTheBodysMiddle)
{
  for (const double wallTopM : {8.5, 7.5})
  {
    SceneFixture f;
    f.Build(SceneLevel(QByteArray(R"(
  <start x="2" y="9"/>
  <ground>
    <region x="0" y="9" width="30" height="1"/>
    <region x="3" y=")") + QByteArray::number(wallTopM) + R"(" width="0.2" height=")" +
                       QByteArray::number(9 - wallTopM) + R"("/>
  </ground>
)"));
    Stickman* player = f.player();
    const double distance = 400 - 200 - player->GetActualSize().width() / 2;
    QPointF offset;
    // The middle of a 180 px figure standing at 900 px is at 810 px.
    EXPECT_EQ(f.scene().CanStickmanStep(player, distance, offset), wallTopM > 8.1) << wallTopM;
    EXPECT_EQ(offset, QPointF(0, 0));
    // A jump clears only what stays below the height of the jump.
    EXPECT_FALSE(f.scene().CanStickmanJump(player, distance, 10)) << wallTopM;
    EXPECT_TRUE(f.scene().CanStickmanJump(player, distance, (9 - wallTopM) * 100 + 5)) << wallTopM;
  }
}

TEST(SceneTest, OnlyAWideLowRestingBoxIsSomethingToStepOn)
{
  struct Case
  {
    double widthM;
    double heightM;
    bool awake;
    bool allowed;
  };
  for (const Case& c : {Case{1.2, 0.5, false, true}, Case{1.2, 0.5, true, false}, Case{0.9, 0.5, false, false},
                        Case{1.2, 0.85, false, false}})
  {
    SceneFixture f;
    f.Build(SceneLevel(R"(
  <start x="2" y="9"/>
  <ground><region x="0" y="9" width="3" height="1"/></ground>
)"));
    b2BodyDef def;
    def.type = b2_dynamicBody;
    def.position.Set(float(3.5 + c.widthM / 2), float(9 - c.heightM / 2));
    b2Body* box = f.scene().GetWorld()->CreateBody(&def);
    b2PolygonShape shape;
    shape.SetAsBox(float(c.widthM / 2), float(c.heightM / 2));
    box->CreateFixture(&shape, 1.0f);
    box->SetAwake(c.awake);
    Stickman* player = f.player();
    const double distance = 400 - 200 - player->GetActualSize().width() / 2;
    QPointF offset;
    EXPECT_EQ(f.scene().CanStickmanStep(player, distance, offset), c.allowed) << c.widthM << " " << c.awake;
    if (c.allowed)
    {
      EXPECT_NEAR(offset.y(), -100 * c.heightM, 1e-3);
    }
  }
}

TEST(SceneTest, AFreeFallOfMoreThanThreeMetresKills)
{
  SceneFixture f;
  f.Build(SceneLevel(R"(
  <start x="5" y="3"/>
  <ground><region x="0" y="6.6" width="30" height="1"/></ground>
)"));
  SignalLog log(f.scene());
  int tick = 0;
  int killedAt = 0;
  QList<float> speeds;
  QObject::connect(&f.scene(), &Scene::playerKilled, [&] {
    killedAt = tick;
    for (const Ragdoll::Element& element : f.scene().GetRagdolls().value(0)->GetElements())
      speeds << element.body->GetLinearVelocity().y;
  });
  f.player()->StartFallingDown(0);
  for (tick = 1; tick <= 60; ++tick)
    f.Tick();
  EXPECT_EQ(log.events, QStringList{"playerKilled"});
  // 7.668 m/s is passed after 0.7825 s: in the 49th tick.
  EXPECT_EQ(killedAt, 49);
  EXPECT_EQ(f.scene().GetPlayer(), nullptr);
  ASSERT_EQ(f.scene().GetRagdolls().size(), 1);
  // Every part of the body goes on at the speed of the fall.
  ASSERT_FALSE(speeds.isEmpty());
  for (float speed : speeds)
    EXPECT_NEAR(speed, 9.8 * 49 * 0.016, 1e-3);
  EXPECT_TRUE(f.scene().IsBlurred());
}

TEST(SceneTest, AShortHopLandsOnTheGroundWithTheLandingPlayed)
{
  SceneFixture f;
  f.Build(SceneLevel(R"(
  <start x="5" y="8.7"/>
  <ground><region x="0" y="9" width="30" height="1" footsteps-sound="steps"/></ground>
)"));
  Stickman* player = f.player();
  QStringList animations;
  QObject::connect(player, &Stickman::animationStarted,
                   [&](QString name, Animation*) { animations << name; });
  QSignalSpy jumpMade(player, &Stickman::jumpMade);
  player->StartFallingDown(0);
  f.Tick(60);
  EXPECT_EQ(player->pos(), QPointF(500, 900));
  EXPECT_EQ(animations.count("land"), 1) << animations.join(",").toStdString();
  EXPECT_EQ(jumpMade.count(), 1);
  EXPECT_EQ(player->GetCurrentAnimation(), nullptr);
  EXPECT_NE(f.scene().GetPlayer(), nullptr);
}

TEST(SceneTest, AFallLandsOnTheFirstListedGroundLineThatTheTicksMoveCrosses)
{
  SceneFixture f;
  // Half a pixel apart, so that one tick of the fall crosses both lines; the
  // lower one is listed first.
  f.Build(SceneLevel(R"(
  <start x="5" y="6"/>
  <ground>
    <region x="4" y="6.205" width="2" height="0.2"/>
    <region x="4" y="6.2" width="2" height="0.2"/>
  </ground>
)"));
  f.player()->StartFallingDown(0);
  f.Tick(30);
  EXPECT_DOUBLE_EQ(f.player()->pos().x(), 500);
  EXPECT_NEAR(f.player()->pos().y(), 620.5, 1e-6);
}

TEST(SceneTest, NothingAboveTheGroundStopsAJump)
{
  SceneFixture f;
  f.Build(FlatLevel);
  EXPECT_TRUE(f.scene().CanStickmanJump(f.player(), 100, 50));
  QPointF offset;
  EXPECT_TRUE(f.scene().CanStickmanStep(f.player(), 40, offset));
  EXPECT_EQ(offset, QPointF(0, 0));
}

TEST(SceneTest, UnderAParachuteTheFallIsSteadyAndNeverKills)
{
  Parachute parachute;
  SceneFixture f;
  f.Build(SceneLevel(R"(
  <start x="5" y="1"/>
  <ground><region x="0" y="9" width="30" height="1"/></ground>
)"));
  f.player()->GrabItem(&parachute);
  f.player()->StartFallingDown(0);
  // 1 m/s: 1.6 px a tick.
  f.Tick(100);
  EXPECT_NEAR(f.player()->pos().y(), 100 + 160, 1e-6);
  f.Tick(400);
  EXPECT_NE(f.scene().GetPlayer(), nullptr);
  EXPECT_EQ(f.player()->pos().y(), 900);
  f.player()->ReleaseItem();
}

// A grass edge, a stream bed 1.2 m lower and, beyond it, a rock wall that
// rises 2.2 m above the grass: a figure floating down from the edge towards the
// wall slides down its face into the stream bed.
TEST(SceneTest, AFallAgainstAWallGoesOnDownAlongItsFace)
{
  Parachute parachute;
  SceneFixture f;
  f.Build(SceneLevel(R"(
  <start x="4.6" y="9"/>
  <ground>
    <region x="0" y="9" width="4.5" height="1.8"/>
    <region x="4.5" y="10.2" width="2.5" height="0.6"/>
    <region x="7" y="6.8" width="8" height="4"/>
  </ground>
)", 30, 10.8));
  Stickman* player = f.player();
  player->GrabItem(&parachute);
  player->StartFallingDown(4.0);
  double rightmost = 0;
  for (int i = 0; i < 300 && f.scene().GetPlayer(); ++i)
  {
    f.Tick();
    rightmost = std::max(rightmost, player->pos().x());
  }
  ASSERT_EQ(f.scene().GetPlayer(), player);
  EXPECT_FALSE(player->IsFallingDownFromJump());
  EXPECT_DOUBLE_EQ(player->pos().y(), 1020) << "landed in the stream bed";
  EXPECT_LT(rightmost, 700) << "the figure's middle stayed out of the rock";
  EXPECT_GT(rightmost, 650) << "it floated right up to the wall";
  player->ReleaseItem();
}

TEST(SceneTest, AFallOutOfTheLevelKillsAsADeepOneDoes)
{
  Parachute parachute;
  SceneFixture f;
  // No ground under the start: a parachute's steady fall never grows deadly
  // by its speed, but it leaves the level 1 m lower.
  f.Build(SceneLevel(R"(
  <start x="5" y="9"/>
  <ground><region x="0" y="9" width="3" height="1"/></ground>
)"));
  SignalLog log(f.scene());
  f.player()->GrabItem(&parachute);
  f.player()->StartFallingDown(0);
  f.Tick(62);
  EXPECT_TRUE(log.events.isEmpty()) << "still in the level";
  f.Tick(2);
  EXPECT_EQ(log.events, QStringList{"playerKilled"});
  EXPECT_EQ(f.scene().GetPlayer(), nullptr);
  EXPECT_EQ(f.scene().GetRagdolls().size(), 1);
}

TEST(SceneTest, FriendsAndEnemiesStandStill)
{
  SceneFixture f;
  f.Build(SceneLevel(R"(
  <start x="2" y="9"/>
  <ground><region x="0" y="9" width="30" height="1"/></ground>
  <npc><friend x="6" y="9" name="Ann"/><enemy x="9" y="9" name="guard"/></npc>
)"));
  f.Tick(200);
  ASSERT_EQ(f.scene().GetNpcs().size(), 2);
  EXPECT_EQ(f.scene().GetNpcs()[0]->pos(), QPointF(600, 900));
  EXPECT_EQ(f.scene().GetNpcs()[1]->pos(), QPointF(900, 900));
  EXPECT_EQ(f.scene().GetNpcs()[1]->GetCurrentAnimation(), nullptr);
}

TEST(SceneTest, KillingTwiceGivesNoSecondRagdollAndNoSecondSignal)
{
  SceneFixture f;
  f.Build(FlatLevel);
  SignalLog log(f.scene());
  Stickman* player = f.player();
  Ragdoll* ragdoll = f.scene().KillStickman(player, QPointF(0.5, 0), "head", ObjectCategory::ColdWeapon, QPointF());
  ASSERT_NE(ragdoll, nullptr);
  EXPECT_EQ(f.scene().KillStickman(player, QPointF(), QString(), ObjectCategory::Other, QPointF()), nullptr);
  EXPECT_EQ(log.events, QStringList{"playerKilled"});
  EXPECT_EQ(f.scene().GetRagdolls().size(), 1);
  // A message only for poisoning.
  EXPECT_EQ(hudMessage(f.scene()), "");
  // The hit part took the impulse.
  EXPECT_GT(ragdoll->FindElementByName("head")->body->GetLinearVelocity().x, 0.0f);
}

TEST(SceneTest, PoisonShowsItsMessageBeforeThePlayerDies)
{
  SceneFixture f;
  f.Build(FlatLevel);
  QString messageWhenKilled;
  QObject::connect(&f.scene(), &Scene::playerKilled, [&] { messageWhenKilled = hudMessage(f.scene()); });
  f.scene().KillStickman(f.player(), QPointF(), QString(), ObjectCategory::Food, QPointF());
  EXPECT_EQ(messageWhenKilled, "Some mushrooms are poisonous");
}

TEST(SceneTest, AKilledVipIsNamedCapitalisedAndOtherNpcsTurnHostile)
{
  SceneFixture f;
  f.Build(SceneLevel(R"(
  <start x="2" y="9"/>
  <ground><region x="0" y="9" width="30" height="1"/></ground>
  <npc>
    <friend x="5" y="9" direction="left" name="bob" color="steelblue" vip="yes"/>
    <friend x="8" y="9" name="" color="no-such-colour" vip="yes"/>
    <enemy x="12" y="9" name="guard"/>
  </npc>
)"));
  ASSERT_EQ(f.scene().GetNpcs().size(), 3);
  ComputerControlledStickman* bob = f.scene().GetNpcs()[0];
  EXPECT_EQ(bob->GetFacingDirection(), Left);
  EXPECT_EQ(f.scene().GetNpcs()[1]->GetColor(), bv::EnemyStickmanColor);
  SignalLog log(f.scene());
  f.scene().KillStickman(bob, QPointF(), QString(), ObjectCategory::Other, QPointF());
  EXPECT_EQ(hudMessage(f.scene()), "Bob killed!");
  EXPECT_EQ(log.events, QStringList{"vipKilled"});
  EXPECT_EQ(f.scene().GetKilledCount(), 1);
  EXPECT_EQ(f.scene().GetNpcs().size(), 2);
  f.scene().Unblur();
  f.scene().KillStickman(f.scene().GetNpcs()[0], QPointF(), QString(), ObjectCategory::Other, QPointF());
  EXPECT_EQ(hudMessage(f.scene()), "VIP killed!");
  EXPECT_EQ(f.scene().GetKilledCount(), 2);
}

TEST(SceneTest, CuesAppearOverTheirSpeakerOrOnTheHud)
{
  SceneFixture f;
  f.Build(SceneLevel(R"(
  <start x="2" y="9"/>
  <ground><region x="0" y="9" width="30" height="1"/></ground>
  <npc><friend x="6" y="9" name="Ann"/></npc>
)"));
  Cue cue;
  cue.SetFrom("player");
  cue.SetText("Hello");
  f.scene().DisplayCue(cue);
  QList<SayBubble*> bubbles = itemsOfType<SayBubble>(f.scene());
  ASSERT_EQ(bubbles.size(), 1);
  const QRectF playerRect = f.player()->GetActualBoundingRect();
  EXPECT_EQ(bubbles[0]->pos(), QPointF(playerRect.center().x(), playerRect.top()));
  EXPECT_EQ(BubbleText(bubbles[0]), "Hello");

  cue.SetFrom("Ann");
  cue.SetType(Cue::Think);
  f.scene().DisplayCue(cue);
  EXPECT_TRUE(itemsOfType<SayBubble>(f.scene()).isEmpty());
  QList<ThinkBubble*> thoughts = itemsOfType<ThinkBubble>(f.scene());
  ASSERT_EQ(thoughts.size(), 1);
  const QRectF annRect = f.scene().GetNpcs()[0]->GetActualBoundingRect();
  EXPECT_EQ(thoughts[0]->pos(), QPointF(annRect.center().x(), annRect.top()));

  cue.SetFrom("Nobody");
  cue.SetText("A voice");
  f.scene().DisplayCue(cue);
  EXPECT_EQ(hudMessage(f.scene()), "A voice");
  f.scene().ClearCue();
  EXPECT_TRUE(itemsOfType<Bubble>(f.scene()).isEmpty());
}

TEST(SceneTest, ABubbleFollowsItsSpeakerAndStaysOnScreenUntilTheSpeakerDies)
{
  SceneFixture f;
  f.Build(SceneLevel(R"(
  <start x="2" y="9"/>
  <ground><region x="0" y="9" width="30" height="1"/></ground>
  <npc><friend x="6" y="9" name="Ann"/></npc>
)"));
  // The screen shows the level's left part, the player close to its edge.
  f.scene().GetHUD()->UpdateFromView(QSize(1280, 720), QTransform::fromTranslate(0, -300));
  const QRectF screen(0, 300, 1280, 720);
  f.scene().DisplayComment("Where does this path lead, I wonder? Far away over the hills, I suppose.");
  QList<DisappearingThinkBubble*> bubbles = itemsOfType<DisappearingThinkBubble>(f.scene());
  ASSERT_EQ(bubbles.size(), 1);
  f.Tick(20);
  EXPECT_TRUE(screen.contains(bubbles[0]->GetBalloonRect()));
  f.player()->MoveTo(f.player()->pos() + QPointF(300, 0));
  f.Tick();
  const QRectF playerRect = f.player()->GetActualBoundingRect();
  EXPECT_EQ(bubbles[0]->scenePos(), QPointF(playerRect.center().x(), playerRect.top()));
  EXPECT_TRUE(screen.contains(bubbles[0]->GetBalloonRect()));

  Cue cue;
  cue.SetFrom("Ann");
  cue.SetText("Hello");
  f.scene().DisplayCue(cue);
  ASSERT_EQ(itemsOfType<SayBubble>(f.scene()).size(), 1);
  f.scene().KillStickman(f.scene().GetNpcs()[0], QPointF(), QString(), ObjectCategory::Other, QPointF());
  EXPECT_TRUE(itemsOfType<Bubble>(f.scene()).isEmpty());
}

TEST(SceneTest, ObjectCommentsTakeTheRightArticle)
{
  SceneFixture f;
  f.Build(FlatLevel);
  const QList<QPair<QString, QString>> cases = {
    {"apple", "An apple. "}, {"Umbrella", "An Umbrella. "}, {"yo_yo", "A yo yo. "}, {"magic_wand", "A magic wand. "}};
  for (const auto& c : cases)
  {
    f.scene().DisplayObjectComment(c.first);
    const QList<DisappearingThinkBubble*> bubbles = itemsOfType<DisappearingThinkBubble>(f.scene());
    ASSERT_EQ(bubbles.size(), 1);
    EXPECT_TRUE(BubbleText(bubbles[0]).startsWith(c.second)) << BubbleText(bubbles[0]).toStdString();
  }
  f.scene().ClearCue();
  f.scene().DisplayObjectComment("");
  EXPECT_TRUE(itemsOfType<Bubble>(f.scene()).isEmpty());
}

TEST(SceneTest, FootstepsSoundOnlyOnTheGround)
{
  SceneFixture f;
  f.Build(FlatLevel);
  Stickman* player = f.player();
  emit player->stepMade(QPointF(300, 905));
  EXPECT_EQ(SceneFixture::SourcesPlayingAt(QPointF(300, 905)), 1);
  emit player->stepMade(QPointF(300, 880));
  EXPECT_EQ(SceneFixture::SourcesPlayingAt(QPointF(300, 880)), 0);
  emit player->stepMade(QPointF(3100, 900));
  EXPECT_EQ(SceneFixture::SourcesPlayingAt(QPointF(3100, 900)), 0);
  f.scene().onStickmanLand(QPointF(400, 900));
  EXPECT_EQ(SceneFixture::SourcesPlayingAt(QPointF(400, 900)), 1);
  EXPECT_EQ(SceneFixture::SourcesPlayingAt(QPointF(401, 900)), 1);
  EXPECT_EQ(f.scene().GetGroundAtPos(QPointF(300, 891)), QLineF(0, 900, 3000, 900));
  EXPECT_TRUE(f.scene().GetGroundAtPos(QPointF(300, 890)).isNull());
}

TEST(SceneTest, NewObjectsArePushedOutOfTheGroundByTheShortestWay)
{
  SceneFixture f;
  f.Build(SceneLevel(R"(
  <start x="2" y="9"/>
  <ground>
    <region x="0" y="9" width="30" height="1"/>
    <region x="10" y="5" width="1" height="1"/>
  </ground>
)"));
  auto placeBox = [&](const QRectF& rect) {
    Object* object = Object::Create("box");
    auto* item = new QGraphicsRectItem(0, 0, rect.width(), rect.height());
    item->setPen(Qt::NoPen);
    item->setPos(rect.topLeft());
    f.scene().addItem(item);
    object->Init(&f.scene(), item, new RectFixtureCreator(rect.width(), rect.height()), Material(), GrabableInfo(),
                 UsableInfo(), QSizeF(-1, -1), ObjectSoundsInfo(), LightSourceInfo(), false);
    f.scene().AddObject(object, true);
    return item;
  };
  // 3 px into the floor from above and 50 px past its right end: up by 3.
  EXPECT_EQ(placeBox(QRectF(2950, 803, 100, 100))->pos(), QPointF(2950, 800));
  // Into the floor and into the block: only the block's move, the later one, counts.
  EXPECT_EQ(placeBox(QRectF(990, 560, 20, 345))->pos(), QPointF(980, 560));
  // Clear of everything: not moved.
  EXPECT_EQ(placeBox(QRectF(1500, 100, 50, 50))->pos(), QPointF(1500, 100));
}

TEST(SceneTest, AVanishedObjectGoesWithItsPictureEvenWhenTheLevelEndsFirst)
{
  SceneFixture f;
  f.Build(FlatLevel);
  auto addBox = [&] {
    Object* object = Object::Create("box");
    auto* item = new QGraphicsRectItem(0, 0, 20, 20);
    item->setPos(1000, 500);
    f.scene().addItem(item);
    object->Init(&f.scene(), item, new RectFixtureCreator(20, 20), Material(), GrabableInfo(), UsableInfo(),
                 QSizeF(-1, -1), ObjectSoundsInfo(), LightSourceInfo(), false);
    f.scene().AddObject(object, false);
    return QPointer<Object>(object);
  };
  QPointer<Object> faded = addBox();
  faded->Vanish();
  EXPECT_FALSE(f.scene().GetObjects().contains(faded.data()));
  f.Tick(62);
  EXPECT_FALSE(faded.isNull());
  f.Tick();
  EXPECT_TRUE(faded.isNull());

  QPointer<Object> interrupted = addBox();
  interrupted->Vanish();
  f.Tick(10);
  f.scene().clear();
  EXPECT_TRUE(interrupted.isNull());
}

// A foreground's blurred copy is shown in place of the sharp picture: it lies
// over it, a little wider where the blur spreads the ink.
TEST(SceneTest, ABlurredForegroundLiesOverItsSharpPicture)
{
  SceneFixture f;
  QImage picture(1000, 600, QImage::Format_ARGB32);
  picture.fill(Qt::transparent);
  QPainter(&picture).fillRect(QRect(620, 410, 90, 40), Qt::darkGreen);
  ASSERT_TRUE(f.WriteLevelPicture("rock.png", picture));
  f.Build(SceneLevel(R"(
  <start x="2" y="9"/>
  <foreground><region image="rock.png" x="1" y="1"/></foreground>
  <ground><region x="0" y="9" width="30" height="1"/></ground>
)").replace("<foreground/>\n", ""));
  QGraphicsPixmapItem* sharp = nullptr;
  QGraphicsPixmapItem* blurred = nullptr;
  for (QGraphicsItem* item : f.scene().items())
    if (auto* pixmap = dynamic_cast<QGraphicsPixmapItem*>(item); pixmap && item->zValue() == bv::ForegroundLayersZValue)
      (pixmap->isVisible() ? sharp : blurred) = pixmap;
  ASSERT_TRUE(sharp && blurred);
  const QRectF inkAt = sharp->sceneBoundingRect();
  EXPECT_EQ(inkAt, QRectF(m2px(QPointF(1, 1)) + QPointF(620, 410), QSizeF(90, 40)));
  const QRectF blurAt = blurred->sceneBoundingRect();
  EXPECT_LE((blurAt.center() - inkAt.center()).manhattanLength(), 2);
  EXPECT_TRUE(blurAt.adjusted(-1, -1, 1, 1).contains(inkAt));
  EXPECT_LE(blurAt.width(), inkAt.width() + 6 * bv::SceneBlurRadius);
}

TEST(SceneTest, BlurringCoversStickmenRagdollsAndForegroundsAndIsUndone)
{
  SceneFixture f;
  f.Build(SceneLevel(R"(
  <start x="2" y="9"/>
  <foreground><region image="bush.png" x="3" y="8"/></foreground>
  <ground><region x="0" y="9" width="30" height="1"/></ground>
  <npc><friend x="6" y="9" name="Ann"/></npc>
)").replace("<foreground/>\n", ""));
  QList<QGraphicsPixmapItem*> layers;
  for (QGraphicsItem* item : f.scene().items())
    if (auto* pixmap = dynamic_cast<QGraphicsPixmapItem*>(item); pixmap && item->zValue() == bv::ForegroundLayersZValue)
      layers.append(pixmap);
  ASSERT_EQ(layers.size(), 2);
  for (QGraphicsPixmapItem* layer : layers)
    EXPECT_TRUE(layer->flags() & QGraphicsItem::ItemIgnoresTransformations);
  EXPECT_EQ(layers[0]->isVisible() + layers[1]->isVisible(), 1);
  QGraphicsPixmapItem* sharp = layers[0]->isVisible() ? layers[0] : layers[1];

  f.scene().Blur();
  EXPECT_TRUE(f.scene().IsBlurred());
  EXPECT_NE(dynamic_cast<BlurEffect*>(f.player()->graphicsEffect()), nullptr);
  EXPECT_FALSE(sharp->isVisible());
  EXPECT_EQ(layers[0]->isVisible() + layers[1]->isVisible(), 1);
  // A stickman dying now falls blurred.
  Ragdoll* ragdoll = f.scene().KillStickman(f.scene().GetNpcs()[0], QPointF(), QString(), ObjectCategory::Other, QPointF());
  ASSERT_NE(ragdoll, nullptr);
  for (const Ragdoll::Element& element : ragdoll->GetElements())
    for (QGraphicsItem* item : element.graphicsItems)
      EXPECT_NE(item->graphicsEffect(), nullptr);

  f.scene().Unblur();
  EXPECT_FALSE(f.scene().IsBlurred());
  EXPECT_EQ(f.player()->graphicsEffect(), nullptr);
  EXPECT_TRUE(sharp->isVisible());

  f.scene().EnterZoomMode();
  for (QGraphicsPixmapItem* layer : layers)
    EXPECT_FALSE(layer->flags() & QGraphicsItem::ItemIgnoresTransformations);
  f.scene().ExitZoomMode();
  for (QGraphicsPixmapItem* layer : layers)
    EXPECT_TRUE(layer->flags() & QGraphicsItem::ItemIgnoresTransformations);
}

// The scene's index keeps an item where its blurred margin reached unless it
// learns that the item shrank while the margin still counted: once the item
// is freed, a query there reads it (a crash in the game's next frame). Items
// spread over the level split the index finely enough for a margin to reach
// beyond an item's own cells.
TEST(SceneTest, ItemsThatLoseTheirBlurAndThenGoAreNeverReadAgain)
{
  SceneFixture f;
  f.Build(FlatLevel);
  for (int x = 0; x < 3000; x += 23)
    for (int y = 0; y < 1000; y += 47)
      f.scene().addRect(x, y, 2, 2);
  auto* fading = f.scene().addRect(0, 0, 30, 30);
  fading->setPos(611, 377);
  f.scene().AddItemToBlur(fading);
  const QRectF everywhere = f.scene().sceneRect();
  f.scene().items(everywhere);

  // Unblurred, moved and killed before the next frame.
  f.scene().Blur();
  f.scene().items(everywhere);
  f.scene().Unblur();
  f.scene().items(everywhere);
  f.player()->moveBy(1, 0);
  ASSERT_NE(f.scene().KillStickman(f.player(), QPointF(), QString(), ObjectCategory::Other, QPointF()), nullptr);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(itemsOfType<Stickman>(f.scene()).size(), 0);

  // Fading out from under the blur.
  f.scene().Unblur();
  f.scene().Blur();
  f.scene().items(everywhere);
  f.scene().VanishItem(fading);
  f.Tick(70);
  EXPECT_FALSE(f.scene().items(everywhere).contains(fading));
}

TEST(SceneTest, BrokenGeometryIsLeftOutWithoutUpsettingTheWorld)
{
  SceneFixture f;
  f.Build(SceneLevel(R"(
  <start x="2" y="9"/>
  <ground>
    <region x="0" y="9" width="30" height="0.0000001"/>
    <region x="0" y="9.5" width="0.0000001" height="0.5"/>
    <polygon-region><point x="1" y="1"/><point x="2" y="2"/></polygon-region>
    <polygon-region><point x="1" y="1"/><point x="1" y="1"/><point x="2" y="2"/><point x="1" y="1"/></polygon-region>
    <polygon-region><point x="3" y="3"/><point x="4" y="3"/><point x="4" y="4"/><point x="3" y="3"/></polygon-region>
  </ground>
  <liquid><region x="5" y="8" width="0.0000001" height="1" material="water"/></liquid>
  <npc><friend x="5" y="9" color="no-such-colour"/></npc>
  <doors><door x="7" y="9"><images opened="none.png" closed="none.png"/></door></doors>
)"));
  // Two thin ground boxes; the loader leaves out the polygons (the closed
  // triangle repeats its first point) and the hair-thin liquid.
  int bodies = 0;
  for (b2Body* body = f.scene().GetWorld()->GetBodyList(); body; body = body->GetNext())
    if (body->GetType() == b2_staticBody && !ExtractStickmanFromBody(body))
      ++bodies;
  EXPECT_EQ(bodies, 2);
  EXPECT_EQ(f.scene().GetStaticRects().size(), 2);
  f.Tick(30);
  EXPECT_NE(f.player(), nullptr);
}

// The water is the background's own picture of it drawn again in front, clear
// at the surface and growing opaque down to the transparent height; walls and
// a floor hold it on three sides, open at the top.
TEST(SceneTest, WaterIsTheBackgroundDrawnInFrontFadingUpToItsSurface)
{
  SceneFixture f;
  QImage sky(3000, 1000, QImage::Format_RGB32);
  sky.fill(QColor(20, 60, 160));
  ASSERT_TRUE(f.WriteLevelPicture("sky.png", sky));
  f.Build(SceneLevel(R"(
  <start x="3" y="9"/>
  <background image="sky.png"/>
  <ground><region x="0" y="9" width="30" height="1"/></ground>
  <liquid><region x="10.004" y="6" width="6" height="3" material="water" transparent-height="1"
    initial-transparency="0.75"/></liquid>
)"));
  const QGraphicsPixmapItem* water = nullptr;
  for (QGraphicsItem* item : f.scene().items(QPointF(1300, 700)))
    if (auto* pixmap = dynamic_cast<QGraphicsPixmapItem*>(item); pixmap && pixmap->isVisible())
      water = pixmap;
  ASSERT_NE(water, nullptr);
  EXPECT_EQ(water->zValue(), bv::ForegroundLayersZValue);
  EXPECT_EQ(water->sceneBoundingRect(), QRectF(1000, 600, 600, 300));
  const QImage picture = water->pixmap().toImage();
  EXPECT_EQ(picture.pixelColor(10, 0).alpha(), int(0.25 * 255));
  EXPECT_EQ(picture.pixelColor(10, 50).alpha(), int((0.5 * 0.75 + 0.25) * 255));
  EXPECT_NEAR(picture.pixelColor(10, 50).blue(), 160, 2);
  EXPECT_EQ(picture.pixelColor(10, 100), QColor(20, 60, 160));
  EXPECT_EQ(picture.pixelColor(590, 299), QColor(20, 60, 160));

  const QList<QRectF>& walls = f.scene().GetStaticRects();
  EXPECT_TRUE(walls.contains(QRectF(1000, 600, 1, 300)));
  EXPECT_TRUE(walls.contains(QRectF(1000, 899, 600, 1)));
  EXPECT_TRUE(walls.contains(QRectF(1599, 600, 1, 300)));
}
