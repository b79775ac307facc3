#include "SceneTestSupport.h"

#include "common/BodyUserData.h"
#include "common/ConvertUtils.h"
#include "world/ContactListener.h"
#include "world/FixtureCreators.h"
#include "world/Object.h"

#include <box2d/b2_body.h>
#include <box2d/b2_fixture.h>
#include <box2d/b2_polygon_shape.h>
#include <box2d/b2_world.h>

#include <QGraphicsRectItem>

#include <gtest/gtest.h>

namespace
{
const QByteArray Floor = SceneLevel(R"(
  <start x="2" y="9"/>
  <ground><region x="0" y="9" width="30" height="1"/></ground>
)");

// Counts what the contact listener tells it.
class Probe : public Object
{
public:
  Probe()
    : Object("probe", ObjectCategory::Other, nullptr)
  {
  }

  void OnGroundBounce(QPointF point) override { bounces.append(point); }
  void OnStickmanHit(b2Body*, Stickman* stickman, DrawingPrimitive* part) override
  {
    if (stickman && part)
      hits.append(stickman);
  }

  QList<QPointF> bounces;
  QList<Stickman*> hits;
};

// A 20 px box whose body starts at \a centrePx.
Probe* addProbe(Scene& scene, const QPointF& centrePx)
{
  auto* probe = new Probe;
  auto* item = new QGraphicsRectItem(-10, -10, 20, 20);
  item->setPos(centrePx);
  scene.addItem(item);
  probe->Init(&scene, item, new RectFixtureCreator(20, 20), Material(), GrabableInfo(), UsableInfo(), QSizeF(-1, -1),
              ObjectSoundsInfo(), LightSourceInfo(), true);
  probe->startPhysicsSimulation();
  scene.AddObject(probe, false);
  return probe;
}

class RecordingLiquids : public LiquidContactHandler
{
public:
  void OnLiquidContactBegin(Liquid* liquid, b2Fixture* fixture) override { begun.append({liquid, fixture}); }
  void OnLiquidContactEnd(Liquid* liquid, b2Fixture* fixture) override { ended.append({liquid, fixture}); }

  QList<QPair<Liquid*, b2Fixture*>> begun;
  QList<QPair<Liquid*, b2Fixture*>> ended;
};
} // namespace

TEST(ContactListenerTest, AGroundBounceCountsFromThreeQuartersOfAMetreASecondAndOnlyOnFirstContact)
{
  for (const double speed : {0.7, 0.8})
  {
    SceneFixture f;
    f.Build(Floor);
    // Resting on the floor's top (900 px) from the first step on.
    Probe* probe = addProbe(f.scene(), QPointF(1000, 890));
    probe->GetBody()->SetLinearVelocity(b2Vec2(0, float(speed)));
    for (int step = 0; step < 20; ++step)
      f.scene().advancePhysicsOnly();
    EXPECT_EQ(probe->bounces.size(), speed > 0.75 ? 1 : 0) << speed;
    if (!probe->bounces.isEmpty())
    {
      EXPECT_NEAR(probe->bounces[0].y(), 900, 2);
    }
  }
}

TEST(ContactListenerTest, ABulletHittingAStickmanTellsTheBulletWhichPart)
{
  SceneFixture f;
  f.Build(Floor);
  Probe* bullet = addProbe(f.scene(), QPointF(100, 800));
  bullet->GetBody()->SetBullet(true);
  bullet->GetBody()->SetGravityScale(0);
  bullet->GetBody()->SetLinearVelocity(b2Vec2(20, 0));
  for (int step = 0; step < 10 && bullet->hits.isEmpty(); ++step)
    f.scene().advancePhysicsOnly();
  ASSERT_FALSE(bullet->hits.isEmpty());
  EXPECT_EQ(bullet->hits[0], f.player());

  // The same box without the bullet flag passes through the figure unnoticed.
  Probe* box = addProbe(f.scene(), QPointF(100, 780));
  box->GetBody()->SetGravityScale(0);
  box->GetBody()->SetLinearVelocity(b2Vec2(20, 0));
  for (int step = 0; step < 10; ++step)
    f.scene().advancePhysicsOnly();
  EXPECT_TRUE(box->hits.isEmpty());
}

TEST(ContactListenerTest, LiquidsHearOfDynamicBodiesComingAndGoing)
{
  SceneFixture f;
  f.Build(Floor);
  RecordingLiquids liquids;
  ContactListener listener;
  listener.SetLiquidContactHandler(&liquids);
  f.scene().GetWorld()->SetContactListener(&listener);

  // A pool: a static body tagged as a liquid. The listener never looks inside it.
  Liquid* pool = reinterpret_cast<Liquid*>(&liquids);
  b2BodyDef poolDef;
  poolDef.position.Set(15, 8.5f);
  b2Body* poolBody = f.scene().GetWorld()->CreateBody(&poolDef);
  b2PolygonShape water;
  water.SetAsBox(1, 0.5f);
  b2FixtureDef waterDef;
  waterDef.shape = &water;
  waterDef.isSensor = true;
  poolBody->CreateFixture(&waterDef);
  AssignLiquidToBody(pool, poolBody);

  Probe* probe = addProbe(f.scene(), QPointF(1500, 800));
  f.scene().advancePhysicsOnly();
  ASSERT_EQ(liquids.begun.size(), 1);
  EXPECT_EQ(liquids.begun[0].first, pool);
  EXPECT_EQ(liquids.begun[0].second, probe->GetBody()->GetFixtureList());
  EXPECT_TRUE(probe->bounces.isEmpty());

  probe->GetBody()->SetTransform(b2Vec2(25, 5), 0);
  f.scene().advancePhysicsOnly();
  ASSERT_EQ(liquids.ended.size(), 1);
  EXPECT_EQ(liquids.ended[0].second, probe->GetBody()->GetFixtureList());
  f.scene().GetWorld()->SetContactListener(nullptr);
}
