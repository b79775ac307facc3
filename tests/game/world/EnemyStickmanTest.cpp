#include "CombatTestSupport.h"

#include "world/ComputerControlledStickman.h"
#include "world/EnemyStickman.h"
#include "world/MusicalInstrument.h"
#include "world/Object.h"

#include "stickman/Animation.h"
#include "stickman/Stickman.h"

#include <QGraphicsItem>
#include <QSignalSpy>
#include <QStringList>

#include <gtest/gtest.h>

#include <cmath>

namespace
{
EnemyStickman* enemy(CombatFixture& f, const QString& name)
{
  return dynamic_cast<EnemyStickman*>(f.Npc(name));
}

Object* held(const Stickman* stickman)
{
  return dynamic_cast<Object*>(stickman->GetGrabbedItem());
}

// The animations a stickman starts, by name.
class AnimationLog : public QObject
{
public:
  explicit AnimationLog(Stickman* stickman)
  {
    connect(stickman, &Stickman::animationStarted, this, [this](QString name) { started << name; });
  }

  QStringList started;
};
} // namespace

TEST(EnemyStickmanTest, RatesWeaponsAndGiftsByItsMoodAndThePlayers)
{
  CombatFixture f;
  f.Build(SceneLevel(R"(
  <start x="3" y="9"/>
  <ground><region x="0" y="9" width="30" height="1"/></ground>
  <npc><enemy x="9" y="9" name="bob"/><friend x="20" y="9" name="ann"/></npc>
)"));
  EnemyStickman* bob = enemy(f, "bob");
  const auto gift = [bob] { return bob->getObjectUsefulnessRating(ObjectCategory::Gift); };
  EXPECT_EQ(bob->getObjectUsefulnessRating(ObjectCategory::ColdWeapon), 10);
  EXPECT_EQ(bob->getObjectUsefulnessRating(ObjectCategory::Firearm), 100);
  EXPECT_EQ(bob->getObjectUsefulnessRating(ObjectCategory::Shield), 0);
  EXPECT_EQ(gift(), 1000) << "an empty-handed player who has killed nobody";

  // Gifts count for an aggressive enemy only while the player looks peaceful.
  Object* apple = f.Give(f.player(), "apple");
  EXPECT_EQ(gift(), 1000);
  f.Give(f.player(), "sword");
  EXPECT_EQ(gift(), 0);
  f.scene().KillStickman(f.Npc("ann"), QPointF(), QString(), ObjectCategory::Other, QPointF());
  f.player()->GrabItem(apple);
  EXPECT_EQ(gift(), 0) << "after a killing";
  f.Give(f.player(), "flower");
  EXPECT_EQ(gift(), 1000);

  bob->SetPeaceful(true);
  EXPECT_EQ(bob->getObjectUsefulnessRating(ObjectCategory::ColdWeapon), 0);
  EXPECT_EQ(bob->getObjectUsefulnessRating(ObjectCategory::Firearm), 0);
  f.Give(f.player(), "sword");
  EXPECT_EQ(gift(), 1000);
}

TEST(EnemyStickmanTest, PicksUpOnlyWhatIsMoreUsefulThanWhatItHolds)
{
  CombatFixture f;
  f.Build(SceneLevel(R"(
  <start x="3" y="9"/>
  <ground><region x="0" y="9" width="30" height="1"/></ground>
  <npc><enemy x="9" y="9" name="bob" direction="left"/><enemy x="20" y="9" name="cid" direction="left"/></npc>
)"));
  // At bob's feet: a sword, a pistol and a box; he takes the pistol.
  f.Add("sword", QPointF(900, 880));
  Object* pistol = f.Add("pistol", QPointF(910, 880));
  f.Add("box", QPointF(890, 880));
  EnemyStickman* bob = enemy(f, "bob");
  for (int i = 0; i < 100 && !held(bob); ++i)
    f.Tick();
  EXPECT_EQ(held(bob), pistol);
  EXPECT_EQ(bob->GetColdWeaponReach(), 0);

  // Cid holds a sword and finds one as long beside him: he keeps his own.
  EnemyStickman* cid = enemy(f, "cid");
  Object* own = f.Give(cid, "sword", 50);
  f.Add("sword", QPointF(2000, 880), 50);
  f.Tick(100);
  EXPECT_EQ(held(cid), own);
  EXPECT_NEAR(cid->GetColdWeaponReach(), EnemyStickman::GetColdWeaponLength(own) * 0.85, 1e-9);
  // A longer one two metres behind him is worth the walk.
  Object* longer = f.Add("sword", QPointF(2200, 880), 75);
  for (int i = 0; i < 300 && held(cid) == own; ++i)
    f.Tick();
  EXPECT_EQ(held(cid), longer);
  EXPECT_GT(cid->GetColdWeaponReach(), EnemyStickman::GetColdWeaponLength(own) * 0.85);
}

TEST(EnemyStickmanTest, TurnsToThePlayerAndStrikesOnlyWithinReach)
{
  CombatFixture f;
  f.Build(SceneLevel(R"(
  <start x="3" y="9"/>
  <ground><region x="0" y="9" width="30" height="1"/></ground>
  <npc><enemy x="7" y="9" name="bob" direction="right"/></npc>
)"));
  EnemyStickman* bob = enemy(f, "bob");
  f.Give(bob, "sword");
  AnimationLog bobs(bob);
  f.Tick();
  EXPECT_EQ(bob->GetFacingDirection(), Left) << "turned first";
  EXPECT_TRUE(bobs.started.isEmpty());
  f.Tick(100);
  EXPECT_EQ(bobs.started, QStringList{"step"}) << "into his stance, then he waits";

  // Close enough, he does not strike a player who flies a helicopter.
  const double reach = bob->GetColdWeaponReach() + 55;
  Stickman* player = f.player();
  player->MoveTo(QPointF(bob->pos().x() - reach + 5, 900));
  Object* helicopter = f.Add("helicopter", player->pos() + QPointF(0, -200));
  player->GrabItem(helicopter);
  f.Tick(50);
  EXPECT_EQ(bobs.started, QStringList{"step"});

  // On foot, he cuts the player down.
  QSignalSpy playerKilled(&f.scene(), &Scene::playerKilled);
  player->DropItem();
  f.Tick(50);
  EXPECT_EQ(bobs.started, (QStringList{"step", "swing"}));
  EXPECT_EQ(playerKilled.count(), 1);
}

TEST(EnemyStickmanTest, AGunmanShootsThroughAWallOnlyAPlayerOnItsLine)
{
  // Bob stands on the floor behind a wall, Cid on a ledge two and a half
  // metres up: the player below is on Bob's line only.
  CombatFixture f;
  f.Build(SceneLevel(R"(
  <start x="3" y="9"/>
  <ground>
    <region x="0" y="9" width="30" height="1"/>
    <region x="6" y="6" width="0.3" height="3"/>
    <region x="10" y="6.5" width="4" height="0.5"/>
  </ground>
  <npc><enemy x="9" y="9" name="bob" direction="left"/><enemy x="12" y="6.5" name="cid" direction="left"/></npc>
)"));
  EnemyStickman* bob = enemy(f, "bob");
  EnemyStickman* cid = enemy(f, "cid");
  f.Give(bob, "pistol");
  ASSERT_EQ(f.Give(cid, "assault_rifle")->GetCategory(), ObjectCategory::Firearm) << "read whole from its file";
  AnimationLog bobs(bob);
  AnimationLog cids(cid);
  QSignalSpy playerKilled(&f.scene(), &Scene::playerKilled);
  f.Tick(100);
  EXPECT_EQ(bobs.started, (QStringList{"step", "shoot"}));
  EXPECT_EQ(playerKilled.count(), 1);
  EXPECT_EQ(cids.started, QStringList{"step"});
}

TEST(MusicalInstrumentTest, ATuneToTheEndMakesEveryEnemyPeacefulUntilTheNextKilling)
{
  // Bob stands near with a sword, Cid at the far end of the level with a
  // pistol; a teddybear lies at Bob's feet.
  CombatFixture f;
  f.Build(SceneLevel(R"(
  <start x="3" y="9"/>
  <ground><region x="0" y="9" width="30" height="1"/></ground>
  <npc>
    <enemy x="6" y="9" name="bob" direction="left"/>
    <enemy x="28" y="9" name="cid" direction="left"/>
    <friend x="1" y="9" name="ann"/>
  </npc>
)"));
  EnemyStickman* bob = enemy(f, "bob");
  EnemyStickman* cid = enemy(f, "cid");
  Object* sword = f.Give(bob, "sword");
  f.Give(cid, "pistol");
  // After a killing, gifts are worth nothing to an aggressive enemy.
  f.scene().KillStickman(f.Npc("ann"), QPointF(), QString(), ObjectCategory::Other, QPointF());
  Object* teddybear = f.Add("teddybear", QPointF(bob->pos().x() - 20, 880));
  f.Tick(100);
  EXPECT_EQ(held(bob), sword);

  Stickman* player = f.player();
  auto* guitar = dynamic_cast<MusicalInstrument*>(f.Give(player, "guitar"));
  ASSERT_NE(guitar, nullptr);
  player->Use();
  f.Tick(2);
  ASSERT_TRUE(guitar->IsPlaying());
  // The guitar stays where the tune began while the hands play it.
  const QPointF playedAt = guitar->GetItem()->pos();
  f.Tick(20);
  EXPECT_EQ(guitar->GetItem()->pos(), playedAt);
  EXPECT_EQ(SceneFixture::SourcesPlayingAt(playedAt), 1) << "its sound at the key moment";
  EXPECT_FALSE(bob->IsPeaceful());
  ASSERT_TRUE(f.TickUntilIdle(player));
  EXPECT_FALSE(guitar->IsPlaying());
  EXPECT_TRUE(bob->IsPeaceful());
  EXPECT_TRUE(cid->IsPeaceful()) << "heard across the whole level";

  // Bob throws his sword away and takes the teddybear; Cid drops his pistol.
  f.Tick(50);
  EXPECT_EQ(held(bob), teddybear);
  EXPECT_EQ(held(cid), nullptr);
  EXPECT_EQ(sword->GetHolder(), nullptr);

  // The next killing ends the peace: Bob takes his sword back.
  f.scene().KillStickman(cid, QPointF(), QString(), ObjectCategory::Other, QPointF());
  EXPECT_FALSE(bob->IsPeaceful());
  f.Tick(50);
  EXPECT_EQ(held(bob), sword);
}
