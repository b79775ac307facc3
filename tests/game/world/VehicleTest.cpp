#include "ObjectTestSupport.h"

#include "world/Helicopter.h"
#include "world/ObjectCreator.h"

#include "common/ConvertUtils.h"
#include "common/GlobalConstants.h"
#include "stickman/Stickman.h"

#include <box2d/b2_body.h>

#include <AL/al.h>
#include <QGraphicsItem>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <initializer_list>

namespace
{
class VehicleTest : public SceneTest
{
protected:
  void SetUp() override
  {
    SceneTest::SetUp();
    creator.Init(scene, scene->GetMaterials(), &fixture.sounds());
    player = scene->GetPlayer();
  }

  /// A helicopter drawn 3 m wide as a player draws it, standing on the ground
  /// around the player and at rest.
  Helicopter* drawHelicopter(const QString& direction)
  {
    const int before = scene->GetObjects().size();
    draw(creator, PlaceStrokes(Reference("helicopter", direction, 300), QPointF(player->pos().x() + 20, GroundTopPx - 4)));
    if (scene->GetObjects().size() == before)
      return nullptr;
    auto* helicopter = dynamic_cast<Helicopter*>(scene->GetObjects().last());
    tick(120);
    return helicopter;
  }

  /// Steers as held arrow keys do: a push at once, then one every 100 ms.
  void hold(Vehicle* vehicle, std::initializer_list<Direction> directions, int ticks)
  {
    for (int i = 0; i < ticks; ++i)
    {
      if (i % 6 == 0)
        for (Direction direction : directions)
          vehicle->Move(direction);
      tick(1);
    }
  }

  /// Pixels between the ground and the lowest point of the helicopter's stroke.
  static double height(const Vehicle* vehicle)
  {
    const auto* item = static_cast<const QGraphicsPathItem*>(vehicle->GetItem());
    return GroundTopPx - item->sceneTransform().map(item->path()).boundingRect().bottom();
  }

  static QPointF centre(const Vehicle* vehicle) { return vehicle->GetItem()->sceneBoundingRect().center(); }

  /// The rider sits at the bottom centre of the picture, turning with it.
  static void expectCarrying(const Vehicle* vehicle, const Stickman* rider)
  {
    const QRectF r = vehicle->GetItem()->boundingRect();
    const QPointF seat = vehicle->GetItem()->mapFromScene(rider->pos());
    EXPECT_NEAR(seat.x(), r.center().x(), 1);
    EXPECT_NEAR(seat.y(), r.bottom(), 1);
  }

  ObjectCreator creator;
  Stickman* player = nullptr;
};
} // namespace

// Shift takes what is in reach: the helicopter is boarded, not carried in the
// hand; leaving it on the ground puts the figure back on its feet, seen again.
TEST_F(VehicleTest, BoardingHidesTheRiderInsideAndLeavingPutsItBackOnItsFeet)
{
  Helicopter* helicopter = drawHelicopter("left");
  ASSERT_NE(helicopter, nullptr);
  EXPECT_EQ(helicopter->GetFacingDirection(), Left) << "shown as drawn";
  ASSERT_EQ(scene->GetObjectToPickUp(player), helicopter);
  const QRectF parked = helicopter->GetItem()->sceneBoundingRect();
  ASSERT_EQ(player->GetFacingDirection(), Right);

  player->GrabItem(helicopter->GetGrabable());
  EXPECT_FALSE(player->isVisible());
  EXPECT_EQ(player->GetFacingDirection(), Left) << "the rider looks where the helicopter does";
  EXPECT_EQ(helicopter->GetFacingDirection(), Left);
  ASSERT_NE(helicopter->GetBody(), nullptr) << "a boarded vehicle stays in the world";
  EXPECT_NE(helicopter->GetEngineSound(), 0u);
  EXPECT_EQ(SceneFixture::SourcesPlayingAt(centre(helicopter)), 1);
  tick(30);
  expectCarrying(helicopter, player);
  EXPECT_NEAR(helicopter->GetItem()->sceneBoundingRect().center().x(), parked.center().x(), 2) << "parked, not pushed";
  EXPECT_NEAR(helicopter->GetItem()->sceneBoundingRect().bottom(), parked.bottom(), 2);
  EXPECT_NEAR(height(helicopter), 0, 4) << "standing on the ground";

  player->DropItem();
  EXPECT_TRUE(player->isVisible());
  EXPECT_EQ(player->GetGrabbedItem(), nullptr);
  EXPECT_FALSE(player->IsFallingDownFromJump()) << "left on the ground";
  EXPECT_EQ(helicopter->GetEngineSound(), 0u);
  EXPECT_EQ(SceneFixture::SourcesPlayingAt(centre(helicopter)), 0) << "the engine stopped";
  EXPECT_EQ(SceneFixture::SourcesPlayingAt(player->GetActualPos()), 1) << "the engine's last sigh";
  tick(60);
  EXPECT_FALSE(scene->GetPlayer()->IsKilled());
  EXPECT_NEAR(player->pos().y(), GroundTopPx, 2);
}

// Up lifts it off the ground, the arrows fly it sideways five times harder in
// the air than on its skids, and Down only lets it sink as gravity does.
TEST_F(VehicleTest, ArrowsFlyTheHelicopterAndTheGroundHoldsItBack)
{
  Helicopter* helicopter = drawHelicopter("right");
  ASSERT_NE(helicopter, nullptr);
  player->GrabItem(helicopter->GetGrabable());
  b2Body* body = helicopter->GetBody();
  ASSERT_NE(body, nullptr);
  // The push a steer gives, newton seconds.
  const auto push = [&](Direction direction) {
    const b2Vec2 before = body->GetLinearVelocity();
    helicopter->Move(direction);
    return Vec2Point(body->GetMass() * (body->GetLinearVelocity() - before));
  };
  const QPointF groundRight = push(Right);
  push(Left);
  EXPECT_EQ(push(Down), QPointF(0, 0));

  hold(helicopter, {Up}, 60);
  EXPECT_GT(height(helicopter), 100) << "a second of Up lifts it more than a metre";
  expectCarrying(helicopter, player);
  const QPointF airRight = push(Right);
  push(Left);
  EXPECT_GT(groundRight.x(), 0);
  EXPECT_NEAR(airRight.x(), 5 * groundRight.x(), 1e-4);
  EXPECT_NEAR(groundRight.y(), 0, 1e-6);

  const double x = centre(helicopter).x();
  hold(helicopter, {Up, Right}, 60);
  EXPECT_GT(centre(helicopter).x(), x + 50) << "flown to the right";
  expectCarrying(helicopter, player);
  EXPECT_FALSE(player->IsStepInProgress()) << "the rider does not walk";

}

// Nothing keeps a helicopter up but its rider's pushes: left alone it sinks
// with its rider; abandoned high up, it and its rider fall, the rider to its
// death; abandoned just above the ground, the rider lands on its feet.
TEST_F(VehicleTest, AHelicopterLeftAloneFallsAndSoDoesItsRiderWhenItLeaves)
{
  Helicopter* helicopter = drawHelicopter("right");
  ASSERT_NE(helicopter, nullptr);
  player->GrabItem(helicopter->GetGrabable());
  hold(helicopter, {Up}, 60);
  const double lifted = height(helicopter);
  ASSERT_GT(lifted, 100);
  tick(60);
  EXPECT_LT(height(helicopter), lifted) << "unpowered, it sinks";
  expectCarrying(helicopter, player);

  // Just above the ground, then left: the rider drops safely.
  for (int i = 0; i < 300 && height(helicopter) > 40; ++i)
    tick(1);
  helicopter->Move(Up);
  tick(2);
  ASSERT_GT(height(helicopter), 10);
  player->DropItem();
  EXPECT_TRUE(player->IsFallingDownFromJump());
  tick(120);
  ASSERT_EQ(scene->GetPlayer(), player) << "a short drop does not kill";
  EXPECT_NEAR(player->pos().y(), GroundTopPx, 2);
  EXPECT_NEAR(height(helicopter), 0, 8) << "the helicopter landed too";

  // High up, as high as the level lets it, then abandoned.
  player->GrabItem(helicopter->GetGrabable());
  ASSERT_FALSE(player->isVisible());
  for (int i = 0; i < 300 && height(helicopter) < 330; ++i)
    hold(helicopter, {Up}, 6);
  ASSERT_GT(height(helicopter), 330);
  QSignalSpy killed(scene, &Scene::playerKilled);
  player->DropItem();
  EXPECT_TRUE(player->isVisible());
  EXPECT_TRUE(player->IsFallingDownFromJump());
  tick(180);
  EXPECT_EQ(killed.count(), 1) << "a fall of more than three metres kills";
  EXPECT_NEAR(height(helicopter), 0, 8) << "the abandoned helicopter falls to the ground";
}

// The level's sides and top stop a helicopter flown into them, and it flies
// on from there; only the bottom is open, for falls.
TEST_F(VehicleTest, AHelicopterFlownIntoTheLevelsSidesAndTopStaysInside)
{
  Helicopter* helicopter = drawHelicopter("right");
  ASSERT_NE(helicopter, nullptr);
  player->GrabItem(helicopter->GetGrabable());
  const QRectF level = scene->sceneRect();
  // Flies until the picture reaches the edge \a reached tells, then on for
  // two more seconds; true when it got there and never went past any edge.
  const auto flyInto = [&](std::initializer_list<Direction> directions, auto reached) {
    int afterwards = -1;
    for (int i = 0; i < 3000 && afterwards != 0; ++i)
    {
      if (i % 6 == 0)
        for (Direction direction : directions)
          helicopter->Move(direction);
      tick(1);
      const QRectF r = helicopter->GetItem()->sceneBoundingRect();
      EXPECT_GE(r.left(), level.left() - 0.5);
      EXPECT_LE(r.right(), level.right() + 0.5);
      EXPECT_GE(r.top(), level.top() - 0.5);
      if (afterwards > 0)
        --afterwards;
      else if (afterwards < 0 && reached(r))
        afterwards = 120;
    }
    expectCarrying(helicopter, player);
    return afterwards == 0;
  };
  EXPECT_TRUE(flyInto({Up}, [&](const QRectF& r) { return r.top() < level.top() + 1; })) << "the top";
  EXPECT_TRUE(flyInto({Up, Left}, [&](const QRectF& r) { return r.left() < level.left() + 1; })) << "the left side";
  EXPECT_TRUE(flyInto({Up, Right}, [&](const QRectF& r) { return r.right() > level.right() - 1; })) << "the right side";
  EXPECT_FALSE(player->IsKilled());
}

// The engine sounds where the helicopter is, wherever it flies, and the player
// hears it from inside: the listener rides along.
TEST_F(VehicleTest, TheEngineSoundAndTheListenerFlyWithTheHelicopter)
{
  Helicopter* helicopter = drawHelicopter("right");
  ASSERT_NE(helicopter, nullptr);
  player->GrabItem(helicopter->GetGrabable());
  const QPointF start = centre(helicopter);
  const auto expectHeardInside = [&](const char* when) {
    EXPECT_EQ(SceneFixture::SourcesPlayingAt(centre(helicopter)), 1) << when;
    ALfloat x = 0, y = 0, z = 0;
    alGetListener3f(AL_POSITION, &x, &y, &z);
    const QPointF head = px2m(player->pos()) - QPointF(0, bv::StickmanHeightM);
    EXPECT_NEAR(x, head.x(), 1e-3) << when;
    EXPECT_NEAR(y, head.y(), 1e-3) << when;
  };
  hold(helicopter, {Up}, 60);
  expectHeardInside("climbing");
  hold(helicopter, {Up, Right}, 40);
  expectHeardInside("flying right");
  EXPECT_GT(QLineF(start, centre(helicopter)).length(), 100);
  EXPECT_EQ(SceneFixture::SourcesPlayingAt(start), 0) << "nothing left behind where it started";
}

// A rider is never left invisible: not by a vehicle outside any scene (the
// objects preview boards one), nor by a vehicle that goes away under it.
TEST_F(VehicleTest, TheRiderIsSeenAgainWhateverBecomesOfTheVehicle)
{
  QGraphicsPathItem picture(QPainterPath(QPointF(0, 0)));
  std::unique_ptr<Vehicle> vehicle(Vehicle::Create("helicopter"));
  GrabableInfo grabable;
  grabable.grabable = true;
  vehicle->Init(nullptr, &picture, nullptr, Material(), grabable, UsableInfo(), QSizeF(-1, -1), ObjectSoundsInfo(),
                LightSourceInfo(), true);
  player->GrabItem(vehicle->GetGrabable());
  EXPECT_FALSE(player->isVisible());
  player->DropItem();
  EXPECT_TRUE(player->isVisible());

  player->GrabItem(vehicle->GetGrabable());
  ASSERT_FALSE(player->isVisible());
  vehicle.reset();
  EXPECT_TRUE(player->isVisible());
  EXPECT_EQ(player->GetGrabbedItem(), nullptr);
}
