#include "CombatTestSupport.h"

#include "world/ColdWeapon.h"
#include "world/ComputerControlledStickman.h"
#include "world/FixtureCreators.h"
#include "world/Object.h"

#include "stickman/Animation.h"
#include "stickman/Ragdoll.h"
#include "stickman/Stickman.h"

#include <box2d/b2_body.h>

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace
{
// Where the pieces of the last ragdoll fly, m/s summed: its sign says which way the blow sent it.
double lastRagdollPush(Scene& scene)
{
  double push = 0;
  for (const Ragdoll::Element& element : scene.GetRagdolls().last()->GetElements())
    push += element.body->GetLinearVelocity().x;
  return push;
}

// Sound sources started at the item's position when its holder's animation
// reaches its key moment.
class KeyMomentSounds : public QObject
{
public:
  KeyMomentSounds(Stickman* holder, const Object* object)
  {
    // Connected after the object's own slot, so it runs after the object reacted.
    connect(holder, &Stickman::animationKeyMoment, this,
            [this, object] { counts << SceneFixture::SourcesPlayingAt(object->GetItem()->pos()); });
  }

  QList<int> counts;
};

// A sword that can be told that it touched an object.
class ProbeSword : public ColdWeapon
{
public:
  ProbeSword()
    : ColdWeapon("sword", nullptr)
  {
  }

  using ColdWeapon::onObjectCollisionWhenUsed;
};

// A probe sword made as the game makes a sword, in \a holder's hand.
ProbeSword* giveProbeSword(CombatFixture& f, Stickman* holder)
{
  const ObjectCreator::ObjectInfo info = f.creator.getObjectInfo("sword");
  const QPainterPath picture = ObjectPicture("sword", 80);
  auto* sword = new ProbeSword;
  sword->Init(&f.scene(), f.scene().addPath(picture), new PathFixtureCreator(picture), info.material, info.grabable,
              info.usable, info.maximumSize, info.sounds, info.lightSource, info.tangible);
  f.scene().AddObject(sword, false);
  holder->GrabItem(sword);
  return sword;
}
} // namespace

TEST(ColdWeaponTest, OneSwingKillsEveryoneItPassesThroughAndAVipsDeathEndsTheLevel)
{
  CombatFixture f;
  f.Build(SceneLevel(R"(
  <start x="3" y="9"/>
  <ground><region x="0" y="9" width="30" height="1"/></ground>
  <npc><enemy x="3.7" y="9" name="bob" direction="left"/><friend x="4" y="9" name="ann" vip="yes"/></npc>
)"));
  Stickman* player = f.player();
  Object* sword = f.Give(player, "sword");
  QSignalSpy vipKilled(&f.scene(), &Scene::vipKilled);
  player->Use();
  ASSERT_TRUE(f.TickUntilIdle(player));

  EXPECT_EQ(f.scene().GetKilledCount(), 2);
  EXPECT_TRUE(f.scene().GetNpcs().isEmpty());
  EXPECT_EQ(vipKilled.count(), 1);
  EXPECT_TRUE(f.scene().IsBlurred());
  ASSERT_EQ(f.scene().GetRagdolls().size(), 2);
  EXPECT_EQ(player->GetGrabbedItem(), sword);
  EXPECT_FALSE(sword->IsInUse());

  // Facing left, the blow sends the victim to the left.
  f.scene().Unblur();
  ComputerControlledStickman* cid = new ComputerControlledStickman(&f.scene());
  f.scene().AddNpcStickman(cid, player->pos() - QPointF(100, 0), Qt::red);
  player->TurnAround();
  player->Use();
  ASSERT_TRUE(f.TickUntilIdle(player));
  ASSERT_EQ(f.scene().GetRagdolls().size(), 3);
  EXPECT_LT(lastRagdollPush(f.scene()), 0);
  EXPECT_EQ(vipKilled.count(), 1);
}

TEST(ColdWeaponTest, EveryBladeButTheAxeSoundsAtTheBlow)
{
  CombatFixture f;
  f.Build(SceneLevel(R"(
  <start x="3" y="9"/>
  <ground><region x="0" y="9" width="30" height="1"/></ground>
)"));
  for (const char* name : {"sword", "sabre", "spear", "pollaxe", "axe"})
  {
    Object* weapon = f.Give(f.player(), name);
    KeyMomentSounds sounds(f.player(), weapon);
    f.player()->Use();
    ASSERT_TRUE(f.TickUntilIdle(f.player()));
    EXPECT_EQ(sounds.counts, QList<int>{QString(name) == "axe" ? 0 : 1}) << name;
    f.player()->DropItem();
    // Away from the last blade's sound, which plays on.
    f.player()->MoveTo(f.player()->pos() + QPointF(200, 0));
  }
}

TEST(ColdWeaponTest, OnlyAShieldHeldAgainstTheBlowTurnsItBack)
{
  CombatFixture f;
  f.Build(SceneLevel(R"(
  <start x="3" y="9"/>
  <ground><region x="0" y="9" width="30" height="1"/></ground>
  <npc><friend x="4.1" y="9" name="ann" direction="left"/></npc>
)"));
  Stickman* player = f.player();
  ComputerControlledStickman* ann = f.Npc("ann");
  ProbeSword* sword = giveProbeSword(f, player);
  Object* shield = f.Give(ann, "shield");
  player->Use();
  Animation* swing = player->GetCurrentAnimation();
  while (sword->IsInUse() || player->GetCurrentAnimation() == swing)
    f.Tick();
  // Turned back where it met the shield, with the sword's clang there.
  EXPECT_EQ(SceneFixture::SourcesPlayingAt(shield->GetItem()->pos()), 1);
  EXPECT_NE(player->GetCurrentAnimation(), nullptr) << "the swing plays backwards";
  ASSERT_TRUE(f.TickUntilIdle(player));
  EXPECT_FALSE(ann->IsKilled());

  // Its holder turned away, the shield is no help: the blow goes on.
  ann->TurnAround();
  player->Use();
  while (!sword->IsInUse())
    f.Tick();
  swing = player->GetCurrentAnimation();
  sword->onObjectCollisionWhenUsed(shield);
  EXPECT_TRUE(sword->IsInUse());
  EXPECT_EQ(player->GetCurrentAnimation(), swing);
  ASSERT_TRUE(f.TickUntilIdle(player));
  EXPECT_TRUE(ann->IsKilled());
}

TEST(FirearmTest, AShotGoesThroughWallsPastTheShooterAndKillsOnlyTheNearest)
{
  CombatFixture f;
  f.Build(SceneLevel(R"(
  <start x="3" y="9"/>
  <ground>
    <region x="0" y="9" width="30" height="1"/>
    <region x="6" y="6" width="0.3" height="3"/>
  </ground>
  <npc>
    <enemy x="8" y="9" name="near" direction="left"/>
    <enemy x="10" y="9" name="far" direction="left"/>
    <friend x="1" y="9" name="behind"/>
  </npc>
)"));
  Stickman* player = f.player();
  Object* pistol = f.Give(player, "pistol");
  KeyMomentSounds sounds(player, pistol);
  player->Use();
  ASSERT_TRUE(f.TickUntilIdle(player));
  EXPECT_EQ(sounds.counts, QList<int>{1});
  EXPECT_FALSE(player->IsKilled());
  EXPECT_EQ(f.Npc("near"), nullptr);
  EXPECT_NE(f.Npc("far"), nullptr);
  EXPECT_NE(f.Npc("behind"), nullptr);
  EXPECT_GT(lastRagdollPush(f.scene()), 0);

  // Fired to the left, the shot throws its victim to the left.
  player->TurnAround();
  player->Use();
  ASSERT_TRUE(f.TickUntilIdle(player));
  EXPECT_EQ(f.Npc("behind"), nullptr);
  EXPECT_NE(f.Npc("far"), nullptr);
  EXPECT_LT(lastRagdollPush(f.scene()), 0);
}
