#include "ObjectTestSupport.h"

#include "world/DrawingPen.h"
#include "world/Object.h"
#include "world/ObjectCategories.h"
#include "world/UsableObject.h"

#include "common/GlobalConstants.h"
#include "stickman/Posture.h"
#include "stickman/Stickman.h"

#include <box2d/b2_body.h>

#include <QCoreApplication>
#include <QGraphicsPathItem>
#include <QImage>
#include <QPainter>
#include <QPointer>

#include <algorithm>
#include <cmath>
#include <memory>

TEST(ObjectCategoryTest, FollowsFromTheExactName)
{
  EXPECT_EQ(ObjectCategory::FromObjectName("sword"), ObjectCategory::ColdWeapon);
  EXPECT_EQ(ObjectCategory::FromObjectName("assault_rifle"), ObjectCategory::Firearm);
  EXPECT_EQ(ObjectCategory::FromObjectName("teddybear"), ObjectCategory::Gift);
  EXPECT_EQ(ObjectCategory::FromObjectName("ham"), ObjectCategory::Food);
  EXPECT_EQ(ObjectCategory::FromObjectName("key"), ObjectCategory::Key);
  EXPECT_EQ(ObjectCategory::FromObjectName("saw"), ObjectCategory::Saw);
  EXPECT_EQ(ObjectCategory::FromObjectName("helicopter"), ObjectCategory::Vehicle);
  // Names are case-sensitive; unknown names are plain things.
  EXPECT_EQ(ObjectCategory::FromObjectName("Sword"), ObjectCategory::Other);
  EXPECT_EQ(ObjectCategory::FromObjectName("box"), ObjectCategory::Other);
  EXPECT_EQ(ObjectCategory::FromObjectName(""), ObjectCategory::Other);
  EXPECT_TRUE(ObjectCategory::IsWeapon(ObjectCategory::ColdWeapon));
  EXPECT_TRUE(ObjectCategory::IsWeapon(ObjectCategory::Firearm));
  EXPECT_FALSE(ObjectCategory::IsWeapon(ObjectCategory::Gift));
}

TEST(ObjectCategoryTest, CreateMakesTheClassThatUsesTheObject)
{
  for (const char* name : {"sword", "key", "saw"})
  {
    std::unique_ptr<Object> object(Object::Create(name));
    EXPECT_NE(dynamic_cast<UsableObject*>(object.get()), nullptr) << name;
    EXPECT_EQ(object->GetName(), name);
  }
  for (const char* name : {"pistol", "apple", "box", "helicopter"})
  {
    std::unique_ptr<Object> object(Object::Create(name));
    EXPECT_EQ(dynamic_cast<UsableObject*>(object.get()), nullptr) << name;
    EXPECT_EQ(object->GetCategory(), ObjectCategory::FromObjectName(name)) << name;
  }
}

using ObjectTest = SceneTest;

TEST_F(ObjectTest, ShrinksToItsMaximumSizeThenFallsAndRests)
{
  // 303 px wide with its pen, 150 allowed: scale 0.495 in steps of 0.01, 51 ticks.
  Object* object = addStroke(QPointF(800, 300), 300, QSizeF(150, -1));
  EXPECT_TRUE(object->IsShrinking());
  EXPECT_EQ(object->GetBody(), nullptr);
  EXPECT_NEAR(object->GetBoundingRectAfterShrinking().width(), 150, 1e-9);
  tick(50);
  EXPECT_TRUE(object->IsShrinking());
  EXPECT_EQ(object->GetBody(), nullptr);
  tick(1);
  EXPECT_FALSE(object->IsShrinking());
  EXPECT_NEAR(object->GetItem()->sceneBoundingRect().width(), 150, 3);
  EXPECT_EQ(object->GetBody(), nullptr) << "the body comes with the next tick";
  tick(1);
  ASSERT_NE(object->GetBody(), nullptr);

  tick(300);
  const QRectF r = object->GetItem()->sceneBoundingRect();
  EXPECT_NEAR(r.bottom(), GroundTopPx, 8);
  EXPECT_LT(object->GetBody()->GetLinearVelocity().Length(), 0.05);
}

TEST_F(ObjectTest, TheHeightLimitCountsOnlyWhereTheWidthFits)
{
  QPainterPath square;
  square.addRect(-150, -150, 300, 300);
  auto* item = scene->addPath(square);
  item->setPos(800, 200);
  // The limits apply to the picture as drawn, pen included.
  const QSizeF drawn = item->boundingRect().size();
  std::unique_ptr<Object> object(Object::Create("box"));
  object->Init(scene, item, nullptr, Material(), GrabableInfo(), UsableInfo(), QSizeF(200, 100),
               ObjectSoundsInfo(), LightSourceInfo(), false);
  object->ShrinkToMaximumSize();
  EXPECT_NEAR(item->scale(), 200.0 / drawn.width(), 1e-9);

  auto* tall = scene->addPath(square);
  std::unique_ptr<Object> limited(Object::Create("box"));
  limited->Init(scene, tall, nullptr, Material(), GrabableInfo(), UsableInfo(), QSizeF(0, 100),
                ObjectSoundsInfo(), LightSourceInfo(), false);
  limited->ShrinkToMaximumSize();
  EXPECT_NEAR(tall->scale(), 100.0 / drawn.height(), 1e-9);
}

TEST_F(ObjectTest, AnIntangibleObjectNeverFalls)
{
  Object* object = addStroke(QPointF(800, 300), 100, QSizeF(-1, -1), false);
  tick(60);
  EXPECT_EQ(object->GetBody(), nullptr);
  EXPECT_DOUBLE_EQ(object->GetItem()->pos().y(), 300);

  Stickman* player = scene->GetPlayer();
  player->GrabItem(object);
  player->DropItem();
  tick(10);
  EXPECT_EQ(object->GetBody(), nullptr);
}

TEST_F(ObjectTest, TheObjectThePlayerWouldPickUpIsCircledInPencil)
{
  Stickman* player = scene->GetPlayer();
  addStroke(player->pos() + QPointF(600, -20), 80, QSizeF(-1, -1));
  tick(30);
  EXPECT_EQ(scene->GetObjectToPickUp(player), nullptr);
  QGraphicsPathItem* mark = scene->GetPickUpMark();
  ASSERT_NE(mark, nullptr);
  EXPECT_FALSE(mark->isVisible()) << "nothing in reach";

  Object* near = addStroke(player->pos() + QPointF(40, -20), 80, QSizeF(-1, -1));
  tick(30);
  EXPECT_EQ(scene->GetObjectToPickUp(player), near);
  EXPECT_TRUE(mark->isVisible());
  const QRectF object = near->GetItem()->sceneBoundingRect();
  EXPECT_TRUE(mark->sceneBoundingRect().contains(object));
  EXPECT_LT(mark->sceneBoundingRect().width(), 3 * object.width()) << "around it, not around the level";

  // The held object is not what the key would take: nothing is marked.
  player->GrabItem(near);
  tick(1);
  EXPECT_EQ(scene->GetObjectToPickUp(player), nullptr);
  EXPECT_FALSE(mark->isVisible());
}

TEST_F(ObjectTest, IsPickedUpCarriedTurnedAndDropped)
{
  Stickman* player = scene->GetPlayer();
  Object* object = addStroke(player->pos() + QPointF(40, -20), 80, QSizeF(-1, -1));
  tick(30);
  ASSERT_NE(object->GetBody(), nullptr);

  player->GrabItem(object);
  EXPECT_EQ(object->GetHolder(), player);
  EXPECT_EQ(object->GetBody(), nullptr);
  const auto hand = [&] { return player->mapToScene(player->GetHolderJoint()->position); };
  // The grip (a quarter along the stroke) is in the hand.
  const auto grip = [&] { return object->GetItem()->mapToScene(object->GetItem()->transformOriginPoint()); };
  const auto gripInHand = [&] { return QLineF(grip(), hand()).length() < 1.0; };
  EXPECT_TRUE(gripInHand());

  const double startX = player->pos().x();
  player->Move(Right);
  tick(40);
  EXPECT_GT(player->pos().x(), startX);
  EXPECT_TRUE(gripInHand());
  EXPECT_EQ(object->GetBody(), nullptr);

  player->TurnAround();
  tick(2);
  EXPECT_EQ(object->GetFacingDirection(), Left);
  EXPECT_LT(object->GetItem()->transform().m11(), 0) << "mirrored";
  EXPECT_TRUE(gripInHand());
  // The stroke now reaches out to the left of the hand: most of it lies there.
  EXPECT_LT(object->GetItem()->sceneBoundingRect().center().x(), hand().x());

  player->DropItem();
  EXPECT_EQ(object->GetHolder(), nullptr);
  ASSERT_NE(object->GetBody(), nullptr);
  // Held at an angle and mirrored, it falls as the body under its picture.
  EXPECT_LT(BodyOffPicturePx(object), 3);
  tick(200);
  EXPECT_NEAR(object->GetItem()->sceneBoundingRect().bottom(), GroundTopPx, 8);
  EXPECT_LT(BodyOffPicturePx(object), 3);
}

namespace
{
// An axe: a handle with the blade at its right end, centred on its origin.
QPainterPath axePath()
{
  QPainterPath axe;
  axe.moveTo(-60, 20);
  axe.lineTo(40, 20);
  axe.lineTo(40, -20);
  axe.lineTo(60, -20);
  axe.lineTo(60, 20);
  return axe;
}
} // namespace

TEST_F(ObjectTest, FacingLeftMirrorsTheBodyWithThePictureAndTurningBackRestoresIt)
{
  const QPainterPath axe = axePath();
  Object* object = addPicture(QPointF(1200, 300), axe, QSizeF(-1, -1), true, "axe", DrawingPen);
  ASSERT_NE(object->GetBody(), nullptr);
  const b2Vec2 rightCentre = object->GetBody()->GetLocalCenter();
  const float mass = object->GetBody()->GetMass();
  EXPECT_GT(rightCentre.x, 0.1f) << "the blade's side is heavier";
  EXPECT_LT(BodyOffPicturePx(object), 3);

  object->SetFacingDirection(Left);
  ASSERT_NE(object->GetBody(), nullptr);
  EXPECT_NEAR(object->GetBody()->GetLocalCenter().x, -rightCentre.x, 1e-5);
  EXPECT_NEAR(object->GetBody()->GetLocalCenter().y, rightCentre.y, 1e-5);
  EXPECT_NEAR(object->GetBody()->GetMass(), mass, 1e-5);
  EXPECT_LT(BodyOffPicturePx(object), 3);

  // Tilted, the mirrored picture still turns with its body.
  b2Body* body = object->GetBody();
  body->SetTransform(body->GetPosition(), 0.6f);
  tick(1);
  EXPECT_LT(BodyOffPicturePx(object), 3);

  object->SetFacingDirection(Right);
  EXPECT_NEAR(object->GetBody()->GetLocalCenter().x, rightCentre.x, 1e-5);
  EXPECT_LT(BodyOffPicturePx(object), 3);
  tick(1);
  EXPECT_LT(BodyOffPicturePx(object), 3);

  // Left again, it falls, comes to rest on the ground and stays under its picture.
  object->SetFacingDirection(Left);
  tick(300);
  const auto* item = static_cast<const QGraphicsPathItem*>(object->GetItem());
  EXPECT_NEAR(item->sceneTransform().map(item->path()).boundingRect().bottom(), GroundTopPx, 4);
  EXPECT_LT(object->GetBody()->GetLinearVelocity().Length(), 0.05);
  EXPECT_LT(BodyOffPicturePx(object), 3);
}

TEST_F(ObjectTest, ADroppedObjectFallsFromWhereItWasHeldOnTheBodyOfItsPicture)
{
  // Held facing right and left, an axe is let go: the picture stays where the
  // hand held it, the body lies under it, and it comes to rest on the ground.
  // The left-facing drop is saved as dropped-left.png in the build folder.
  const QPainterPath axe = axePath();
  Stickman* player = scene->GetPlayer();
  const auto shown = [](const Object* object) {
    const auto* item = static_cast<const QGraphicsPathItem*>(object->GetItem());
    return item->sceneTransform().map(item->path()).boundingRect();
  };
  for (const Direction facing : {Right, Left})
  {
    const std::string side = facing == Right ? "right" : "left";
    Object* object = addPicture(player->pos() + QPointF(40, -20), axe, QSizeF(-1, -1), true, "axe", DrawingPen);
    tick(30);
    player->GrabItem(object);
    if (player->GetFacingDirection() != facing)
      player->TurnAround();
    tick(3);
    ASSERT_EQ(object->GetFacingDirection(), facing);
    const QRectF held = shown(object);
    player->DropItem();
    ASSERT_NE(object->GetBody(), nullptr);
    const QRectF dropped = shown(object);
    EXPECT_NEAR(dropped.center().x(), held.center().x(), 0.5) << side;
    EXPECT_NEAR(dropped.center().y(), held.center().y(), 0.5) << side;
    EXPECT_LT(BodyOffPicturePx(object), 3) << side;
    if (facing == Left)
    {
      const QRectF around = held.adjusted(-150, -150, 150, 150);
      QImage picture(around.size().toSize(), QImage::Format_RGB32);
      picture.fill(Qt::white);
      QPainter painter(&picture);
      painter.setRenderHint(QPainter::Antialiasing);
      scene->render(&painter, QRectF(QPointF(0, 0), around.size()), around);
      painter.translate(-around.topLeft());
      PaintBody(painter, object);
      painter.end();
      ASSERT_TRUE(picture.save(QCoreApplication::applicationDirPath() + "/../dropped-left.png"));
    }
    tick(200);
    EXPECT_NEAR(shown(object).bottom(), GroundTopPx, 4) << side;
    EXPECT_LT(BodyOffPicturePx(object), 3) << side;
    object->Vanish();
  }
}

TEST_F(ObjectTest, AShrunkDrawingKeepsALineThatCanBeSeen)
{
  // 300 px shrunk to 30: the 3 px pen would be 0.3 px wide.
  Object* small = addStroke(QPointF(800, 300), 300, QSizeF(30, -1), false);
  // 300 px shrunk to 250: 2.5 px is wide enough as it is.
  Object* large = addStroke(QPointF(1200, 300), 300, QSizeF(250, -1), false);
  // A picture drawn with a thin pen keeps its own width.
  QPainterPath line;
  line.moveTo(-150, 0);
  line.lineTo(150, 0);
  Object* thin = addPicture(QPointF(1600, 300), line, QSizeF(30, -1), false, "stick", QPen(Qt::black, 1));
  tick(100);
  const auto shownPenWidth = [](const Object* object) {
    return static_cast<const QGraphicsPathItem*>(object->GetItem())->pen().widthF() * object->GetItem()->scale();
  };
  ASSERT_FALSE(small->IsShrinking());
  EXPECT_NEAR(small->GetItem()->scale(), 0.1, 0.01);
  EXPECT_NEAR(shownPenWidth(small), 2.0, 1e-9);
  EXPECT_NEAR(shownPenWidth(large), 3.0 * large->GetItem()->scale(), 1e-9);
  EXPECT_NEAR(shownPenWidth(thin), 1.0, 1e-9);

  // Shrunk at once, the same holds.
  Object* loaded = addStroke(QPointF(2000, 300), 300, QSizeF(30, -1), false);
  loaded->ShrinkToMaximumSize();
  EXPECT_NEAR(shownPenWidth(loaded), 2.0, 1e-9);

  // On screen the small one is a solid black line, not a grey hairline.
  const QRectF around = small->GetItem()->sceneBoundingRect().adjusted(-5, -5, 5, 5);
  QImage picture(around.size().toSize(), QImage::Format_RGB32);
  picture.fill(Qt::white);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  scene->render(&painter, QRectF(QPointF(0, 0), around.size()), around);
  painter.end();
  int darkest = 255;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x)
      darkest = std::min(darkest, qGray(picture.pixel(x, y)));
  EXPECT_LT(darkest, 60);
}

TEST_F(ObjectTest, TurningTwiceTheSameWayMirrorsOnce)
{
  Object* object = addStroke(QPointF(800, 300), 80, QSizeF(-1, -1));
  object->SetFacingDirection(Left);
  object->SetFacingDirection(Left);
  EXPECT_LT(object->GetItem()->transform().m11(), 0);
  // Grabbing turns it back to its own pose.
  scene->GetPlayer()->GrabItem(object);
  EXPECT_GT(object->GetItem()->transform().m11(), 0);
}

TEST_F(ObjectTest, IsUsedOnlyByItsHolderAndInUseFromTheKeyMoment)
{
  Stickman* player = scene->GetPlayer();
  auto* sword = static_cast<UsableObject*>(addStroke(player->pos() + QPointF(40, -20), 80, QSizeF(-1, -1), true,
                                                     "sword"));
  sword->Use(player);
  EXPECT_TRUE(player->GetCurrentAnimationName().isEmpty()) << "not held: nothing happens";

  player->GrabItem(sword);
  player->Use();
  EXPECT_EQ(player->GetCurrentAnimationName(), "swing");
  bool wasInUse = false;
  for (int i = 0; i < 200 && !player->GetCurrentAnimationName().isEmpty(); ++i)
  {
    tick(1);
    wasInUse = wasInUse || sword->IsInUse();
  }
  EXPECT_TRUE(wasInUse);
  EXPECT_FALSE(sword->IsInUse());
}

TEST_F(ObjectTest, AGripWithoutAttributesIsTheTopLeftCorner)
{
  QPainterPath path;
  path.addRect(-50, -20, 100, 40);
  auto* item = scene->addPath(path);
  Object* object = Object::Create("box");
  GrabableInfo grabable;
  grabable.grabable = true;
  object->Init(scene, item, nullptr, Material(), grabable, UsableInfo(), QSizeF(-1, -1), ObjectSoundsInfo(),
               LightSourceInfo(), false);
  scene->AddObject(object, false);
  scene->GetPlayer()->GrabItem(object);
  const QRectF r = item->boundingRect();
  EXPECT_EQ(item->transformOriginPoint(), QPointF(std::trunc(r.x()), std::trunc(r.y())));
}

TEST_F(ObjectTest, VanishesOutOfHandAndIsDeletedAfterFadingOut)
{
  Stickman* player = scene->GetPlayer();
  QPointer<Object> object = addStroke(player->pos() + QPointF(40, -20), 80, QSizeF(-1, -1));
  player->GrabItem(object);
  object->Vanish();
  EXPECT_EQ(player->GetGrabbedItem(), nullptr);
  EXPECT_TRUE(object->IsVanished());
  EXPECT_EQ(object->GetBody(), nullptr);
  EXPECT_FALSE(scene->GetObjects().contains(object.data()));
  tick(70);
  EXPECT_TRUE(object.isNull());
}

TEST_F(ObjectTest, AnObjectThatFallsOutOfTheLevelVanishesAndOneOnTheGroundStays)
{
  // The ground ends with the level at 3000 px; past it nothing holds an object.
  QPointer<Object> fallen = addStroke(QPointF(3200, 300), 80, QSizeF(-1, -1));
  QPointer<Object> resting = addStroke(QPointF(800, 300), 80, QSizeF(-1, -1));
  tick(60);
  ASSERT_FALSE(fallen.isNull());
  EXPECT_FALSE(fallen->IsVanished());
  tick(100);
  ASSERT_FALSE(fallen.isNull());
  EXPECT_TRUE(fallen->IsVanished());
  EXPECT_FALSE(scene->GetObjects().contains(fallen.data()));
  tick(70);
  EXPECT_TRUE(fallen.isNull());
  ASSERT_FALSE(resting.isNull());
  EXPECT_FALSE(resting->IsVanished());
  EXPECT_TRUE(scene->GetObjects().contains(resting.data()));
}
