#include "SceneTestSupport.h"

#include "world/LiquidSimulator.h"

#include <box2d/b2_body.h>
#include <box2d/b2_fixture.h>
#include <box2d/b2_polygon_shape.h>
#include <box2d/b2_world.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace
{
// A pool of water 6 m wide and 3 m deep, its surface at y = 6 m, its floor on the ground.
const QByteArray Pool = SceneLevel(R"(
  <start x="3" y="9"/>
  <ground><region x="0" y="9" width="30" height="1"/></ground>
  <liquid><region x="10" y="6" width="6" height="3" material="water" splash-sound="splash"/></liquid>
)");

// A dynamic box centred at \a centre (metres), one fixture per entry of \a offsets.
b2Body* addBox(Scene& scene, b2Vec2 centre, float halfSize, float density, std::initializer_list<b2Vec2> offsets = {{0, 0}})
{
  b2BodyDef bodyDef;
  bodyDef.type = b2_dynamicBody;
  bodyDef.position = centre;
  b2Body* body = scene.GetWorld()->CreateBody(&bodyDef);
  for (const b2Vec2& offset : offsets)
  {
    b2PolygonShape box;
    box.SetAsBox(halfSize, halfSize, offset, 0);
    b2FixtureDef fixtureDef;
    fixtureDef.shape = &box;
    fixtureDef.density = density;
    body->CreateFixture(&fixtureDef);
  }
  return body;
}
} // namespace

TEST(LiquidTest, LightBodiesFloatAtTheSurfaceAndHeavyOnesRestOnTheFloor)
{
  SceneFixture f;
  f.Build(Pool);
  ASSERT_EQ(f.scene().GetLiquidSimulator()->GetRegions().size(), 1);
  EXPECT_EQ(f.scene().GetLiquidSimulator()->GetRegions()[0]->GetDensity(), 1.0);
  b2Body* wood = addBox(f.scene(), b2Vec2(11.5f, 4), 0.25f, 0.6f);
  b2Body* stone = addBox(f.scene(), b2Vec2(13, 4), 0.25f, 2.5f);
  // Between the two, but heavier than water: the floor under it must not lift it.
  b2Body* mud = addBox(f.scene(), b2Vec2(14.5f, 4), 0.25f, 1.3f);
  f.Tick(300);

  double highest = 100, lowest = 0;
  for (int tick = 0; tick < 200; ++tick)
  {
    f.Tick();
    highest = std::min(highest, double(wood->GetPosition().y));
    lowest = std::max(lowest, double(wood->GetPosition().y));
    EXPECT_LT(std::abs(mud->GetLinearVelocity().y), 0.05) << tick;
  }
  // The wooden box keeps to the surface, never sinking away nor leaving the water.
  EXPECT_GT(highest, 6 - 0.25 - 0.1);
  EXPECT_LT(lowest, 6 + 0.5);
  EXPECT_NEAR(stone->GetPosition().y, 9 - 0.25, 0.05);
  EXPECT_NEAR(mud->GetPosition().y, 9 - 0.25, 0.05);
  // Outside the water a wooden box falls like any other.
  b2Body* dry = addBox(f.scene(), b2Vec2(5, 4), 0.25f, 0.6f);
  f.Tick(10);
  EXPECT_GT(dry->GetLinearVelocity().y, 1);
}

TEST(LiquidTest, WaterBrakesMotionAndSpinWithoutThrowingSmallBodiesBack)
{
  SceneFixture f;
  f.Build(Pool);
  // A pebble-sized chip, as heavy as water, shot into it: the drag grows with
  // the square of the speed, but it only ever slows the chip down.
  b2Body* chip = addBox(f.scene(), b2Vec2(12, 5.9f), 0.05f, 1);
  chip->SetLinearVelocity(b2Vec2(0, 8));
  double fastest = 0;
  for (int tick = 0; tick < 30; ++tick)
  {
    f.Tick();
    fastest = std::max(fastest, double(chip->GetLinearVelocity().Length()));
    EXPECT_GT(chip->GetLinearVelocity().y, -0.01) << tick;
  }
  // Gravity adds a little on its way down to the surface.
  EXPECT_LE(fastest, 8.5);
  EXPECT_LT(chip->GetLinearVelocity().Length(), 0.5);
  EXPECT_GT(chip->GetPosition().y, 6);

  // Spinning in the water it slows down, always turning the same way; in the air it spins on.
  b2Body* wet = addBox(f.scene(), b2Vec2(14, 7.5f), 0.05f, 1);
  b2Body* dry = addBox(f.scene(), b2Vec2(5, 3), 0.05f, 1);
  dry->SetGravityScale(0);
  for (b2Body* body : {wet, dry})
    body->SetAngularVelocity(20);
  f.Tick();
  for (int tick = 0; tick < 60; ++tick)
  {
    f.Tick();
    EXPECT_GE(wet->GetAngularVelocity(), 0) << tick;
  }
  EXPECT_LT(wet->GetAngularVelocity(), 2);
  EXPECT_GT(dry->GetAngularVelocity(), 18);
}

TEST(LiquidTest, ABodySplashesOnceEachTimeItEntersTheWater)
{
  SceneFixture f;
  f.Build(Pool);
  f.Tick();
  SceneFixture::SilenceSounds();
  // Two fixtures side by side reach the water in the same tick.
  b2Body* raft = addBox(f.scene(), b2Vec2(13, 5.6f), 0.2f, 0.6f, {{-0.2f, 0}, {0.2f, 0}});
  f.Tick(20);
  EXPECT_EQ(SceneFixture::SourcesPlaying(), 1);

  // Lifted out and dropped in again: one more splash.
  SceneFixture::SilenceSounds();
  raft->SetTransform(b2Vec2(13, 4), 0);
  raft->SetLinearVelocity(b2Vec2(0, 0));
  f.Tick(5);
  EXPECT_EQ(SceneFixture::SourcesPlaying(), 0);
  f.Tick(40);
  EXPECT_EQ(SceneFixture::SourcesPlaying(), 1);
}

TEST(LiquidTest, WaterWithoutASoundOrBeforeTheSoundsAreKnownIsSilent)
{
  SceneFixture f;
  f.Build(SceneLevel(R"(
  <start x="3" y="9"/>
  <ground><region x="0" y="9" width="30" height="1"/></ground>
  <liquid><region x="10" y="6" width="6" height="3" material="water"/></liquid>
)"));
  f.Tick();
  SceneFixture::SilenceSounds();
  addBox(f.scene(), b2Vec2(13, 5.6f), 0.2f, 0.6f);
  f.Tick(20);
  EXPECT_EQ(SceneFixture::SourcesPlaying(), 0);

  // A simulator given its sound manager only after the region was added.
  LiquidSimulator simulator(f.scene().GetWorld());
  Liquid* pond = simulator.AddRegion(QRectF(20, 6, 4, 3), 1.0, "splash");
  simulator.SetSoundManager(&f.sounds());
  b2Body* stone = addBox(f.scene(), b2Vec2(22, 7), 0.2f, 2.5f);
  pond->OnContactBegin(stone->GetFixtureList());
  EXPECT_EQ(SceneFixture::SourcesPlaying(), 0);
  // Leaving the region, the body feels nothing more from it.
  pond->OnContactEnd(stone->GetFixtureList());
  stone->SetAwake(false);
  pond->Advance();
  EXPECT_FALSE(stone->IsAwake());
  simulator.ClearRegions();
}
