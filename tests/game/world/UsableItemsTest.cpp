#include "CombatTestSupport.h"

#include "world/Bomb.h"
#include "world/ComputerControlledStickman.h"
#include "world/Door.h"
#include "world/Food.h"

#include "common/BodyUserData.h"
#include "flow/HUD.h"
#include "stickman/Animation.h"
#include "stickman/DrawingPrimitive.h"
#include "stickman/Ragdoll.h"
#include "stickman/Stickman.h"

#include <box2d/b2_body.h>
#include <box2d/b2_world.h>

#include <QGraphicsItem>
#include <QGraphicsSimpleTextItem>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <memory>

namespace
{
const QByteArray FlatLevel = SceneLevel(R"(
  <start x="3" y="9"/>
  <ground><region x="0" y="9" width="30" height="1"/></ground>
  <npc><friend x="5" y="9" name="ann"/></npc>
)");

// What happened when the holder's animation reached its key moment, seen
// after the object itself reacted to it.
struct KeyMoment
{
  KeyMoment(Stickman* holder, const Object* object, Scene& scene)
  {
    QObject::connect(holder, &Stickman::animationKeyMoment, &receiver, [this, object, &scene] {
      ++count;
      itemShown = object->GetItem()->isVisible();
      sounds = SceneFixture::SourcesPlayingAt(object->GetItem()->pos());
      comment = ShownComment(scene);
    });
  }

  QObject receiver;
  int count = 0;
  bool itemShown = true;
  int sounds = 0;
  QString comment;
};

// Every body of \a stickman that a particle can hit, by part name.
QMap<QString, std::pair<b2Body*, DrawingPrimitive*>> partBodies(Scene& scene, const Stickman* stickman)
{
  QMap<QString, std::pair<b2Body*, DrawingPrimitive*>> parts;
  for (b2Body* body = scene.GetWorld()->GetBodyList(); body; body = body->GetNext())
    if (ExtractStickmanFromBody(body) == stickman && ExtractStickmanPartFromBody(body))
      parts.insert(ExtractStickmanPartFromBody(body)->GetName(), {body, ExtractStickmanPartFromBody(body)});
  return parts;
}

int bodiesOf(Scene& scene, const Object* object)
{
  int count = 0;
  for (b2Body* body = scene.GetWorld()->GetBodyList(); body; body = body->GetNext())
    count += ExtractObjectFromBody(body) == object;
  return count;
}

// A bomb that explodes high in the air at 15 m, 5 m and more from anything
// its particles could hit.
Bomb* explodeInTheAir(CombatFixture& f)
{
  auto* bomb = dynamic_cast<Bomb*>(f.Add("bomb", QPointF(1500, 100)));
  EXPECT_NE(bomb, nullptr);
  while (bomb && !bomb->IsExploded())
    f.Tick();
  return bomb;
}

// A particle flying right (\a right) or left.
b2Body* particleFlying(const Bomb* bomb, bool right, int skip = 0)
{
  for (b2Body* body : bomb->GetParticleBodies())
    if ((body->GetLinearVelocity().x > 1) == right && std::abs(body->GetLinearVelocity().x) > 1 && skip-- == 0)
      return body;
  return nullptr;
}
} // namespace

TEST(FoodTest, EatenFoodVanishesWithItsSoundAndThePlayerFindsItYummy)
{
  CombatFixture f;
  f.Build(FlatLevel);
  Object* apple = f.Give(f.player(), "apple");
  KeyMoment moment(f.player(), apple, f.scene());
  f.player()->Use();
  ASSERT_TRUE(f.TickUntilIdle(f.player()));

  EXPECT_EQ(moment.count, 1);
  EXPECT_FALSE(moment.itemShown);
  EXPECT_EQ(moment.sounds, 1);
  EXPECT_EQ(moment.comment, "Yummy!");
  EXPECT_TRUE(apple->IsVanished());
  EXPECT_FALSE(f.scene().GetObjects().contains(apple));
  EXPECT_EQ(f.player()->GetGrabbedItem(), nullptr);
  EXPECT_FALSE(f.player()->IsKilled());

  // A friend eats in silence, as far as the player's thoughts go.
  ComputerControlledStickman* ann = f.Npc("ann");
  Object* ham = f.Give(ann, "ham");
  f.scene().ClearCue();
  KeyMoment friendMoment(ann, ham, f.scene());
  ann->Use();
  ASSERT_TRUE(f.TickUntilIdle(ann));
  EXPECT_EQ(friendMoment.count, 1);
  EXPECT_EQ(friendMoment.comment, "");
  EXPECT_TRUE(ham->IsVanished());
  EXPECT_FALSE(ann->IsKilled());
}

TEST(FoodTest, AboutHalfOfTheMushroomsArePoisonousAndNoOtherFood)
{
  int poisonous = 0;
  for (int i = 0; i < 400; ++i)
  {
    std::unique_ptr<Object> mushroom(Object::Create("mushroom"));
    auto* food = dynamic_cast<Food*>(mushroom.get());
    ASSERT_NE(food, nullptr);
    poisonous += food->IsPoisonous();
    for (const char* name : {"apple", "meat", "ham", "Mushroom"})
    {
      std::unique_ptr<Object> other(Object::Create(name));
      const auto* otherFood = dynamic_cast<Food*>(other.get());
      EXPECT_TRUE(!otherFood || !otherFood->IsPoisonous()) << name;
    }
  }
  EXPECT_GT(poisonous, 140);
  EXPECT_LT(poisonous, 260);
}

TEST(FoodTest, APoisonousMushroomKillsThePlayerWhoEatsIt)
{
  CombatFixture f;
  f.Build(FlatLevel);
  Food* mushroom = nullptr;
  for (int i = 0; i < 64 && !mushroom; ++i)
  {
    auto* food = dynamic_cast<Food*>(f.Give(f.player(), "mushroom"));
    ASSERT_NE(food, nullptr);
    if (food->IsPoisonous())
      mushroom = food;
    else
      food->Vanish();
  }
  ASSERT_NE(mushroom, nullptr);
  QSignalSpy killed(&f.scene(), &Scene::playerKilled);
  f.player()->Use();
  for (int i = 0; i < 200 && f.player(); ++i)
    f.Tick();
  EXPECT_EQ(killed.count(), 1);
  EXPECT_EQ(f.player(), nullptr);
  EXPECT_EQ(f.scene().GetRagdolls().size(), 1);
  EXPECT_EQ(f.scene().GetHUD()->GetMessageItem()->text(), "Some mushrooms are poisonous");
  EXPECT_TRUE(mushroom->IsVanished());
  EXPECT_EQ(bodiesOf(f.scene(), mushroom), 0) << "eaten, it does not fall from the dead hand";
}

TEST(BombTest, AHeldBombNeverExplodesAndAThrownOneExplodesOneSecondLaterForHalfASecond)
{
  CombatFixture f;
  f.Build(FlatLevel);
  auto* bomb = dynamic_cast<Bomb*>(f.Give(f.player(), "bomb"));
  ASSERT_NE(bomb, nullptr);
  f.Tick(200);
  EXPECT_FALSE(bomb->IsExploded());
  EXPECT_EQ(bomb->GetFuse(), 1.0);

  QSignalSpy killed(&f.scene(), &Scene::playerKilled);
  f.player()->DropItem();
  ASSERT_NE(bomb->GetBody(), nullptr);
  int ticks = 0;
  while (!bomb->IsExploded() && ticks < 100)
  {
    f.Tick();
    ++ticks;
  }
  EXPECT_EQ(ticks, 63) << "1 s of 0.016 s ticks";
  EXPECT_EQ(bomb->GetBody(), nullptr);
  EXPECT_FALSE(bomb->GetItem()->isVisible());
  EXPECT_EQ(SceneFixture::SourcesPlayingAt(bomb->GetItem()->sceneBoundingRect().center()), 1) << "the bang";
  EXPECT_FALSE(f.scene().GetObjectsWithinStickmanReach(f.player()).contains(bomb)) << "nothing is left to pick up";
  EXPECT_EQ(bomb->GetParticleBodies().size(), Bomb::ParticleCount);
  EXPECT_EQ(bodiesOf(f.scene(), bomb), Bomb::ParticleCount);
  for (b2Body* particle : bomb->GetParticleBodies())
  {
    EXPECT_TRUE(particle->IsBullet());
    EXPECT_NEAR(particle->GetLinearVelocity().Length(), 50, 1e-3);
  }

  const QGraphicsItem* blast = bomb->GetBlast();
  ASSERT_NE(blast, nullptr) << "a flash where it burst";
  EXPECT_EQ(blast->scene(), &f.scene());
  EXPECT_EQ(blast->pos(), bomb->GetItem()->sceneBoundingRect().center());
  EXPECT_GT(blast->zValue(), bv::ObjectsZValue);
  EXPECT_LT(blast->zValue(), bv::ForegroundLayersZValue);
  const double startScale = blast->scale();

  // The particles at its feet kill the thrower; each goes when it has hit.
  f.Tick();
  EXPECT_EQ(killed.count(), 1);
  EXPECT_LT(bomb->GetParticleBodies().size(), Bomb::ParticleCount);
  EXPECT_EQ(bodiesOf(f.scene(), bomb), bomb->GetParticleBodies().size());

  // 0.5 s after the explosion the rest are gone, and so is the bomb; the
  // flash has swollen and faded until then.
  f.Tick(30);
  EXPECT_FALSE(bomb->IsVanished());
  ASSERT_EQ(bomb->GetBlast(), blast);
  EXPECT_GT(blast->scale(), 1.5 * startScale);
  EXPECT_LT(blast->opacity(), 0.1);
  f.Tick();
  EXPECT_EQ(bomb->GetBlast(), nullptr);
  EXPECT_TRUE(bomb->IsVanished());
  EXPECT_FALSE(bomb->IsExploded());
  EXPECT_TRUE(bomb->GetParticleBodies().isEmpty());
  EXPECT_EQ(bodiesOf(f.scene(), bomb), 0);
  f.Tick(100);
  EXPECT_EQ(killed.count(), 1);
}

TEST(BombTest, ParticlesKillAStickmanOnceAndEveryHitPushesItsOwnPart)
{
  CombatFixture f;
  f.Build(FlatLevel);
  ComputerControlledStickman* ann = f.Npc("ann");
  Bomb* bomb = explodeInTheAir(f);
  ASSERT_NE(bomb, nullptr);
  EXPECT_FALSE(ann->IsKilled()) << "out of the particles' reach";

  const auto parts = partBodies(f.scene(), ann);
  ASSERT_TRUE(parts.contains("head"));
  ASSERT_GE(parts.size(), 2);
  const QString other = parts.lastKey() == "head" ? parts.firstKey() : parts.lastKey();
  b2Body* right = particleFlying(bomb, true);
  b2Body* left = particleFlying(bomb, false);
  ASSERT_TRUE(right && left);
  bomb->OnStickmanHit(right, ann, parts["head"].second);
  bomb->OnStickmanHit(right, ann, parts[other].second);
  bomb->OnStickmanHit(left, ann, parts[other].second);
  f.Tick();

  EXPECT_EQ(f.scene().GetKilledCount(), 1);
  ASSERT_EQ(f.scene().GetRagdolls().size(), 1);
  const Ragdoll* ragdoll = f.scene().GetRagdolls().first();
  // The first hit of a particle counts: the head goes right, the other part left.
  EXPECT_GT(ragdoll->FindElementByName("head")->body->GetLinearVelocity().x, 0);
  EXPECT_LT(ragdoll->FindElementByName(other)->body->GetLinearVelocity().x, 0);
  EXPECT_FALSE(bomb->GetParticleBodies().contains(right));
  EXPECT_FALSE(bomb->GetParticleBodies().contains(left));
}

// Whatever the door is made of: even a stone gate, which withstands a blade.
TEST(BombTest, ThreeParticleHitsBreakADoorAndTheFragmentFliesWithThem)
{
  CombatFixture f;
  f.Build(SceneLevel(R"(
  <start x="1" y="9"/>
  <ground><region x="0" y="9" width="30" height="1"/></ground>
  <doors><door x="25" y="6.7" material="stone"><sounds hit="door_hit" smash="door_smash"/></door></doors>
)"));
  Door* door = f.scene().GetDoors().value(0);
  ASSERT_NE(door, nullptr);
  Bomb* bomb = explodeInTheAir(f);
  ASSERT_NE(bomb, nullptr);

  // Two particles from the left in one tick; the same particle never counts twice.
  const QPointF hitPoint(2550, 800);
  b2Body* first = particleFlying(bomb, true, 0);
  b2Body* second = particleFlying(bomb, true, 1);
  b2Body* third = particleFlying(bomb, true, 2);
  ASSERT_TRUE(first && second && third);
  bomb->OnDoorHit(first, door, hitPoint);
  bomb->OnDoorHit(first, door, hitPoint);
  bomb->OnDoorHit(second, door, hitPoint);
  f.Tick();
  EXPECT_NEAR(door->GetHealth(), 0.3, 1e-12);
  EXPECT_FALSE(door->IsBroken());
  EXPECT_EQ(SceneFixture::SourcesPlayingAt(hitPoint), 2) << "a thud for each hit";
  EXPECT_FALSE(bomb->GetParticleBodies().contains(first));

  const QPointF breakPoint(2500, 750);
  bomb->OnDoorHit(third, door, breakPoint);
  f.Tick();
  EXPECT_TRUE(door->IsBroken());
  EXPECT_EQ(SceneFixture::SourcesPlayingAt(breakPoint), 1) << "the smash";
  Object* fragment = nullptr;
  for (Object* object : f.scene().GetObjects())
    if (object->GetName().isEmpty())
      fragment = object;
  ASSERT_NE(fragment, nullptr);
  ASSERT_NE(fragment->GetBody(), nullptr);
  EXPECT_GT(fragment->GetBody()->GetLinearVelocity().x, 0);

  // Later particles find no door to break again.
  bomb->OnDoorHit(particleFlying(bomb, true, 0), door, breakPoint);
  f.Tick();
  int fragments = 0;
  for (Object* object : f.scene().GetObjects())
    fragments += object->GetName().isEmpty();
  EXPECT_EQ(fragments, 1);
}

TEST(BombTest, ABombBesideADoorBreaksItAndItsParticlesPushObjectsAway)
{
  CombatFixture f;
  f.Build(SceneLevel(R"(
  <start x="1" y="9"/>
  <ground><region x="0" y="9" width="30" height="1"/></ground>
  <doors><door x="10" y="6.7"/></doors>
)"));
  Door* door = f.scene().GetDoors().value(0);
  ASSERT_NE(door, nullptr);
  Object* box = f.Add("box", QPointF(900, 870));
  f.Add("bomb", QPointF(990, 880));
  f.Tick(100);
  EXPECT_TRUE(door->IsBroken());
  EXPECT_LT(box->GetItem()->pos().x(), 880) << "blown to the left";
}
