#include "CombatTestSupport.h"

#include "world/Door.h"
#include "world/Object.h"
#include "world/UsableObject.h"

#include "common/BodyUserData.h"
#include "stickman/Stickman.h"

#include <box2d/b2_body.h>

#include <QGraphicsPixmapItem>
#include <QImage>

#include <gtest/gtest.h>

namespace
{
// Flat ground at 9 m; a door with the game's pencil pictures stands on it at
// 4 m (110 x 230 px), the player at 3 m.
const QByteArray DoorLevel = SceneLevel(R"(
  <start x="3" y="9"/>
  <ground><region x="0" y="9" width="30" height="1"/></ground>
  <doors><door x="4" y="6.7" material="wood"><sounds open="door_open" hit="door_hit" smash="door_smash"/></door></doors>
)");

Door* onlyDoor(Scene& scene)
{
  EXPECT_EQ(scene.GetDoors().size(), 1);
  return scene.GetDoors().value(0);
}

// Walks the player right for \a ticks ticks; returns how far it got, pixels.
double walkRight(SceneFixture& f, int ticks)
{
  const double start = f.player()->pos().x();
  for (int i = 0; i < ticks; ++i)
  {
    f.player()->Move(Right);
    f.Tick();
  }
  return f.player()->pos().x() - start;
}

// Swings the player's weapon at \a door until the swing is over, played back or
// not; returns the sounds that started where the weapon was when the door was hit.
int blow(CombatFixture& f, const Door* door, const Object* weapon)
{
  const double health = door->GetHealth();
  SceneFixture::SilenceSounds();
  f.player()->Use();
  int sounds = -1;
  for (int i = 0; i < 200 && f.player()->GetCurrentAnimation(); ++i)
  {
    f.Tick();
    if (sounds < 0 && door->GetHealth() != health)
      sounds = SceneFixture::SourcesPlayingAt(weapon->GetItem()->pos());
  }
  EXPECT_EQ(f.player()->GetCurrentAnimation(), nullptr);
  return sounds;
}

// The loose fragment a broken door left in the scene: the object without a name.
Object* fragmentOf(Scene& scene)
{
  for (Object* object : scene.GetObjects())
    if (object->GetName().isEmpty())
      return object;
  return nullptr;
}

int fragmentCount(Scene& scene)
{
  int count = 0;
  for (Object* object : scene.GetObjects())
    count += object->GetName().isEmpty();
  return count;
}

QImage picture(const Object* object)
{
  return static_cast<const QGraphicsPixmapItem*>(object->GetItem())->pixmap().toImage();
}
} // namespace

TEST(DoorTest, ALevelDoorWithoutPicturesIsAPencilSketchThatBlocksTheWay)
{
  SceneFixture f;
  f.Build(DoorLevel);
  Door* door = onlyDoor(f.scene());
  ASSERT_NE(door, nullptr);
  EXPECT_TRUE(door->IsClosed());
  EXPECT_TRUE(door->GetItem()->isVisible());
  EXPECT_EQ(door->GetItem()->sceneBoundingRect(), QRectF(400, 670, 110, 230));
  EXPECT_EQ(door->GetGroundPos(), QPointF(455, 900));

  // Drawn, not a blank or a filled box: dark pencil lines on a see-through ground.
  for (const QPixmap& pixmap : {Door::PencilClosedPicture(), Door::PencilOpenedPicture()})
  {
    const QImage image = pixmap.toImage();
    int transparent = 0, pencil = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
      {
        const QColor c = image.pixelColor(x, y);
        transparent += c.alpha() == 0;
        pencil += c.alpha() > 200 && c.lightness() < 80;
      }
    const int all = image.width() * image.height();
    EXPECT_GT(pencil, all / 50);
    EXPECT_LT(pencil, all / 2);
    EXPECT_GT(transparent, 0);
  }
  EXPECT_NE(Door::PencilClosedPicture().toImage(), Door::PencilOpenedPicture().toImage());

  // The static obstacle: 10 px wide, 70 % of the picture's height, at its centre.
  b2Body* body = door->GetBody();
  ASSERT_NE(body, nullptr);
  EXPECT_EQ(body->GetType(), b2_staticBody);
  EXPECT_EQ(ExtractDoorFromBody(body), door);
  EXPECT_NEAR(body->GetPosition().x, 4.55, 1e-5);
  EXPECT_NEAR(body->GetPosition().y, 7.85, 1e-5);

  // It stands on the ground region under it; the player cannot walk through it.
  EXPECT_EQ(f.scene().GetGroundRegionsWithDoors().value(0).doors, QList<Door*>{door});
  walkRight(f, 150);
  EXPECT_LT(f.player()->GetActualBoundingRect().right(), 455);
}

TEST(DoorTest, PicturesTheLevelNamesAreUsedAndOneThatDoesNotLoadLeavesTheDoorOut)
{
  SceneFixture f;
  f.Build(SceneLevel(R"(
  <start x="1" y="9"/>
  <ground><region x="0" y="9" width="30" height="1"/></ground>
  <doors>
    <door x="4" y="8.96"><images opened="door-open.png" closed="door-closed.png"/></door>
    <door x="8" y="6.7"><images opened="door-open.png" closed="missing.png"/></door>
    <door x="12" y="6.7"><images closed="door-closed.png"/></door>
  </doors>
)"));
  ASSERT_EQ(f.scene().GetDoors().size(), 2);
  Door* named = f.scene().GetDoors()[0];
  EXPECT_EQ(named->GetItem()->pixmap().size(), QSize(2, 4));
  EXPECT_EQ(named->GetItem()->pixmap().toImage().pixelColor(0, 0), QColor(Qt::darkGray));
  // The one that names only its closed picture is drawn open in pencil.
  Door* half = f.scene().GetDoors()[1];
  EXPECT_EQ(half->GetItem()->pixmap().size(), QSize(2, 4));
  half->Open();
  f.Tick(60);
  EXPECT_EQ(half->GetItem()->pixmap().size(), Door::PencilOpenedPicture().size());
}

TEST(DoorTest, AKeyUsedAtAClosedDoorSwingsItOpenInOneAndAHalfSecondsAndFreesTheWayAtOnce)
{
  CombatFixture f;
  f.Build(DoorLevel);
  Door* door = onlyDoor(f.scene());
  walkRight(f, 150);
  Object* key = f.Give(f.player(), "key");
  f.player()->Use();
  for (int i = 0; i < 100 && door->IsClosed(); ++i)
    f.Tick();
  // Opened at the key moment, with the door's sound at the key, and the key's work done.
  ASSERT_FALSE(door->IsClosed());
  EXPECT_EQ(door->GetBody(), nullptr);
  EXPECT_FALSE(key->IsInUse());
  EXPECT_EQ(SceneFixture::SourcesPlayingAt(key->GetItem()->pos()), 1);

  // 90 degrees at 0.96 a tick, the first in the tick of the key: the opened
  // picture from 55 degrees on, narrow and sheared, and whole once open.
  EXPECT_NEAR(door->GetAngle(), 90 - 0.96, 1e-9);
  const QImage closed = Door::PencilClosedPicture().toImage();
  int openAfter = 1;
  bool sheared = false;
  while (door->GetAngle() > 0 && openAfter < 200)
  {
    if (door->GetAngle() < 55)
    {
      EXPECT_NE(door->GetItem()->pixmap().toImage(), closed);
      sheared = sheared || door->GetItem()->transform().m12() > 0;
    }
    else
      EXPECT_EQ(door->GetItem()->pixmap().toImage(), closed);
    f.Tick();
    ++openAfter;
  }
  EXPECT_EQ(openAfter, 94);
  EXPECT_TRUE(sheared);
  EXPECT_TRUE(door->GetItem()->transform().isIdentity());

  // The way is free.
  ASSERT_TRUE(f.TickUntilIdle(f.player()));
  walkRight(f, 150);
  EXPECT_GT(f.player()->GetActualBoundingRect().left(), 470);
}

TEST(DoorTest, AKeyAtAnOpeningDoorOrAwayFromAnyDoorOpensNothingAndStaysInUse)
{
  CombatFixture f;
  f.Build(DoorLevel);
  Door* door = onlyDoor(f.scene());

  // Away from the door: the figure turns the key in the air, and that is all.
  Object* key = f.Give(f.player(), "key");
  f.player()->Use();
  bool inUse = false;
  for (int i = 0; i < 200 && f.player()->GetCurrentAnimation(); ++i)
  {
    f.Tick();
    inUse = inUse || key->IsInUse();
  }
  EXPECT_TRUE(inUse);
  EXPECT_FALSE(key->IsInUse());
  EXPECT_TRUE(door->IsClosed());
  EXPECT_NE(door->GetBody(), nullptr);
  EXPECT_EQ(f.player()->GetGrabbedItem(), key);
  EXPECT_FALSE(key->IsVanished());

  // At a door that has begun to open, the key stays in use to the end of the turn.
  walkRight(f, 150);
  door->Open();
  f.Tick(5);
  const double angle = door->GetAngle();
  f.player()->Use();
  while (!key->IsInUse())
    f.Tick();
  EXPECT_LT(door->GetAngle(), angle);
  f.Tick(3);
  EXPECT_TRUE(key->IsInUse());
  EXPECT_EQ(SceneFixture::SourcesPlayingAt(key->GetItem()->pos()), 0) << "no second opening sound";
  f.Tick(100);
  EXPECT_EQ(door->GetAngle(), 0.0);
}

TEST(DoorTest, ThreeBlowsOfASwordBreakADoorIntoAFragmentThatFliesAwayFromTheAttacker)
{
  for (const bool fromTheLeft : {true, false})
  {
    SCOPED_TRACE(fromTheLeft ? "from the left" : "from the right");
    CombatFixture f;
    f.Build(SceneLevel(fromTheLeft ? R"(
  <start x="3" y="9"/>
  <ground><region x="0" y="9" width="30" height="1"/></ground>
  <doors><door x="4" y="6.7"><sounds hit="door_hit" smash="door_smash"/></door></doors>)"
                                   : R"(
  <start x="6" y="9"/>
  <ground><region x="0" y="9" width="30" height="1"/></ground>
  <doors><door x="4" y="6.7"><sounds hit="door_hit" smash="door_smash"/></door></doors>)"));
    Door* door = onlyDoor(f.scene());
    if (!fromTheLeft)
      f.player()->TurnAround();
    // Up to the door, then three blows.
    for (int i = 0; i < 150; ++i)
    {
      f.player()->Move(fromTheLeft ? Right : Left);
      f.Tick();
    }
    Object* sword = f.Give(f.player(), "sword");

    EXPECT_EQ(blow(f, door, sword), 1) << "the door's thud where it was hit";
    EXPECT_DOUBLE_EQ(door->GetHealth(), 0.65);
    EXPECT_TRUE(door->IsClosed());
    EXPECT_EQ(blow(f, door, sword), 1);
    EXPECT_NEAR(door->GetHealth(), 0.3, 1e-12);
    EXPECT_EQ(fragmentOf(f.scene()), nullptr);
    EXPECT_EQ(blow(f, door, sword), 1) << "the smash";
    EXPECT_EQ(door->GetHealth(), 0.0);
    EXPECT_TRUE(door->IsBroken());
    EXPECT_FALSE(door->GetItem()->isVisible());
    EXPECT_EQ(door->GetBody(), nullptr);

    Object* fragment = fragmentOf(f.scene());
    ASSERT_NE(fragment, nullptr);
    ASSERT_NE(fragment->GetBody(), nullptr);
    EXPECT_EQ(fragment->GetBody()->GetType(), b2_dynamicBody);
    // The picture of the closed door, mirrored when the blow came from the right.
    const QImage closed = Door::PencilClosedPicture().toImage();
    EXPECT_EQ(picture(fragment), fromTheLeft ? closed : closed.mirrored(true, false));
    // It goes over away from the attacker.
    f.Tick(40);
    const double travelled = fragment->GetItem()->pos().x() - 455;
    if (fromTheLeft)
      EXPECT_GT(travelled, 5);
    else
      EXPECT_LT(travelled, -5);

    // The broken door is ignored by later blows; there is one fragment only.
    EXPECT_EQ(blow(f, door, sword), -1);
    EXPECT_EQ(fragmentCount(f.scene()), 1);
  }
}

// A blade bites less into a denser door: a wooden one breaks at the third
// blow, a stone gate only at the eighth.
TEST(DoorTest, AStoneDoorTakesEightBlowsWhereAWoodenOneTakesThree)
{
  for (const char* material : {"wood", "stone"})
  {
    SCOPED_TRACE(material);
    CombatFixture f;
    f.Build(SceneLevel(QByteArray(R"(
  <start x="3" y="9"/>
  <ground><region x="0" y="9" width="30" height="1"/></ground>
  <doors><door x="4" y="6.7" material=")") + material + R"("/></doors>)"));
    Door* door = onlyDoor(f.scene());
    walkRight(f, 150);
    Object* sword = f.Give(f.player(), "sword");
    int blows = 0;
    while (!door->IsBroken() && blows < 20)
    {
      blow(f, door, sword);
      ++blows;
    }
    EXPECT_EQ(blows, QByteArray(material) == "wood" ? 3 : 8);
    EXPECT_EQ(door->GetBody(), nullptr) << "the way is free";
  }
}

TEST(DoorTest, ABrokenDoorTakesNoMoreDamageAndLeavesOneFragment)
{
  SceneFixture f;
  f.Build(DoorLevel);
  Door* door = onlyDoor(f.scene());
  EXPECT_EQ(door->TakeDamage(0.5, Right), nullptr);
  EXPECT_EQ(door->TakeDamage(0.4, Right), nullptr);
  EXPECT_NEAR(door->GetHealth(), 0.1, 1e-12);
  Object* fragment = door->TakeDamage(0.35, Right);
  ASSERT_NE(fragment, nullptr);
  EXPECT_EQ(door->GetHealth(), 0.0) << "never below nothing";
  EXPECT_EQ(fragment->GetCategory(), ObjectCategory::Other);
  EXPECT_EQ(door->TakeDamage(0.35, Left), nullptr);
  EXPECT_EQ(fragmentCount(f.scene()), 1);
  // A key does not open what is no longer there.
  door->Open();
  f.Tick(100);
  EXPECT_EQ(door->GetAngle(), 0.0);
  EXPECT_FALSE(door->GetItem()->isVisible());
}
