#include "CombatTestSupport.h"

#include "common/GlobalConstants.h"
#include "flow/HUD.h"
#include "world/InteractiveItem.h"
#include "world/Object.h"

#include <box2d/b2_body.h>
#include <box2d/b2_fixture.h>

#include <QGraphicsPixmapItem>
#include <QGraphicsSimpleTextItem>
#include <QPainter>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace
{
// An opaque picture of \a size pixels beside the level file.
void writePicture(SceneFixture& f, const QString& name, QSize size)
{
  QImage picture(size, QImage::Format_ARGB32);
  picture.fill(QColor(90, 60, 30));
  ASSERT_TRUE(f.WriteLevelPicture(name, picture));
}

// A tree 1 x 2.8 m standing just in front of the player, whose trunk falls when cut.
QByteArray treeLevel(const QByteArray& raft = QByteArray())
{
  return SceneLevel(R"(
  <start x="3" y="9"/>
  <ground><region x="0" y="9" width="30" height="1"/></ground>
  <interactive-items>
    <tree image="tree.png" x="3.2" y="6.2">)" +
                    raft + R"(
      <cut-physics material="wood">
        <polygon><vertex x="3.6" y="6.2"/><vertex x="3.8" y="6.2"/><vertex x="3.8" y="9"/><vertex x="3.6" y="9"/></polygon>
        <fall-impulse><vector x="3" y="0"/><point x="3.7" y="6.5"/></fall-impulse>
      </cut-physics>
    </tree>
  </interactive-items>
)");
}

Object* findObject(Scene& scene, const QString& name)
{
  for (Object* object : scene.GetObjects())
    if (object->GetName() == name)
      return object;
  return nullptr;
}

// Sounds the player's swing with \a object starts, facing the tree and then facing away from it.
int swingSounds(CombatFixture& f)
{
  f.Tick(70);
  SceneFixture::SilenceSounds();
  f.player()->Use();
  EXPECT_TRUE(f.TickUntilIdle(f.player()));
  return SceneFixture::SourcesPlaying();
}
} // namespace

TEST(TreeTest, AnAxeOrASawFellsATreeAndOtherBladesDoNot)
{
  // The axe's tree also names a raft out of the world, the saw's one whose
  // picture is missing: both fall all the same.
  const QByteArray farRaft = R"(<raft x="1e30" y="8.8" width="2" height="0.3" image="raft.png" material="wood"/>)";
  const QByteArray missingRaft = R"(<raft x="8" y="8.8" width="2" height="0.3" image="missing.png" material="wood"/>)";
  for (const char* name : {"sword", "axe", "saw"})
  {
    SCOPED_TRACE(name);
    CombatFixture f;
    writePicture(f, "tree.png", QSize(100, 280));
    writePicture(f, "raft.png", QSize(200, 30));
    f.Build(treeLevel(QByteArray(name) == "saw" ? missingRaft : QByteArray(name) == "axe" ? farRaft : QByteArray()));
    ASSERT_EQ(f.scene().GetInteractiveItems().size(), 1);
    InteractiveItem* tree = f.scene().GetInteractiveItems()[0];
    EXPECT_EQ(tree->GetItem()->scenePos(), QPointF(320, 620));
    EXPECT_EQ(f.scene().FindInteractiveItemById(tree->GetId()), tree);
    f.Give(f.player(), name);

    // Facing away, the blade cuts the air.
    f.player()->TurnAround();
    const int inTheAir = swingSounds(f);
    ASSERT_EQ(f.scene().GetInteractiveItems().size(), 1);
    f.player()->TurnAround();
    const int atTheTree = swingSounds(f);

    const bool cuts = QByteArray(name) != "sword";
    EXPECT_EQ(atTheTree - inTheAir, cuts ? 1 : 0);
    EXPECT_EQ(f.scene().GetInteractiveItems().size(), cuts ? 0 : 1);
    Object* trunk = findObject(f.scene(), "tree");
    ASSERT_EQ(trunk != nullptr, cuts);
    if (!cuts)
    {
      EXPECT_TRUE(tree->GetItem()->isVisible());
      continue;
    }
    EXPECT_EQ(f.scene().FindInteractiveItemById(tree->GetId()), nullptr);
    ASSERT_NE(trunk->GetBody(), nullptr);
    EXPECT_EQ(trunk->GetBody()->GetType(), b2_dynamicBody);
    EXPECT_EQ(trunk->GetItem()->sceneBoundingRect(), QRectF(320, 620, 100, 280));
    // Pushed at its top, the trunk topples away from the player.
    f.Tick(60);
    EXPECT_GT(trunk->GetBody()->GetAngle(), 0.5);
  }
}

TEST(TreeTest, ATreeWithARaftBecomesTheRaftBehindAFadeAndNeverFalls)
{
  CombatFixture f;
  writePicture(f, "tree.png", QSize(100, 280));
  writePicture(f, "raft.png", QSize(200, 30));
  f.Build(treeLevel(R"(<raft x="8" y="8.8" width="2" height="0.3" image="raft.png" material="wood"
      message="Hours later..." message-delay="0.5" stickman-comment="A raft!"/>)"));
  QSignalSpy started(&f.scene(), &Scene::cutsceneStarted);
  QSignalSpy finished(&f.scene(), &Scene::cutsceneFinished);
  f.Give(f.player(), "axe");
  f.player()->Use();
  bool messageShown = false;
  for (int tick = 0; tick < 400 && finished.isEmpty(); ++tick)
  {
    f.Tick();
    const QGraphicsSimpleTextItem* message = f.scene().GetHUD()->GetMessageItem();
    messageShown = messageShown || (message && message->isVisible() && message->text() == "Hours later...");
    // While the screen darkens the tree still stands; the raft comes with the dark.
    if (started.size() == 1 && !messageShown)
    {
      EXPECT_EQ(findObject(f.scene(), "raft"), nullptr) << tick;
    }
  }
  EXPECT_EQ(started.size(), 1);
  ASSERT_EQ(finished.size(), 1);
  EXPECT_TRUE(messageShown);
  EXPECT_EQ(ShownComment(f.scene()), "A raft!");

  EXPECT_TRUE(f.scene().GetInteractiveItems().isEmpty());
  Object* raft = findObject(f.scene(), "raft");
  ASSERT_NE(raft, nullptr);
  // Centred where the level says; the tick that ended the fade let it start falling.
  const QRectF raftAt = raft->GetItem()->sceneBoundingRect();
  EXPECT_EQ(raftAt.size(), QSizeF(200, 30));
  EXPECT_NEAR(raftAt.center().x(), 800, 0.5);
  EXPECT_NEAR(raftAt.center().y(), 880, 1);
  ASSERT_NE(raft->GetBody(), nullptr);
  const b2AABB box = raft->GetBody()->GetFixtureList()->GetAABB(0);
  EXPECT_NEAR(box.upperBound.x - box.lowerBound.x, 2.0, 0.03);
  EXPECT_NEAR(box.upperBound.y - box.lowerBound.y, 0.3, 0.03);

  // The swing that made the raft ends without felling anything.
  ASSERT_TRUE(f.TickUntilIdle(f.player()));
  f.Tick(10);
  EXPECT_EQ(findObject(f.scene(), "tree"), nullptr);
}

TEST(InteractiveItemTest, APlainItemShowsItsPictureBlursWithTheSceneAndIgnoresCuts)
{
  CombatFixture f;
  writePicture(f, "bush.png", QSize(100, 280));
  f.Build(SceneLevel(R"(
  <start x="3" y="9"/>
  <ground><region x="0" y="9" width="30" height="1"/></ground>
  <interactive-items><bush image="bush.png" x="3.2" y="6.2" layout="foreground"/></interactive-items>
)"));
  ASSERT_EQ(f.scene().GetInteractiveItems().size(), 1);
  InteractiveItem* bush = f.scene().GetInteractiveItems()[0];
  EXPECT_EQ(bush->GetItem()->zValue(), bv::ForegroundLayersZValue);
  QList<QGraphicsPixmapItem*> pictures;
  for (QGraphicsItem* item : f.scene().items())
    if (auto* pixmap = dynamic_cast<QGraphicsPixmapItem*>(item);
        pixmap && pixmap->zValue() == bv::ForegroundLayersZValue && pixmap->sceneBoundingRect().contains(370, 760))
      pictures.append(pixmap);
  ASSERT_EQ(pictures.size(), 2);
  QGraphicsPixmapItem* blurred = pictures[0] == bush->GetItem() ? pictures[1] : pictures[0];
  EXPECT_TRUE(bush->GetItem()->isVisible());
  EXPECT_FALSE(blurred->isVisible());
  f.scene().Blur();
  EXPECT_FALSE(bush->GetItem()->isVisible());
  EXPECT_TRUE(blurred->isVisible());
  f.scene().Unblur();
  EXPECT_TRUE(bush->GetItem()->isVisible());
  EXPECT_FALSE(blurred->isVisible());

  f.Give(f.player(), "axe");
  f.player()->Use();
  ASSERT_TRUE(f.TickUntilIdle(f.player()));
  EXPECT_EQ(f.scene().GetInteractiveItems().size(), 1);
  EXPECT_TRUE(bush->GetItem()->isVisible());
}
