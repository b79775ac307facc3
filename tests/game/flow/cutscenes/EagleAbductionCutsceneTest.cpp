#include "../../world/SceneTestSupport.h"

#include "LogCapture.h"
#include "common/ConvertUtils.h"
#include "common/GlobalConstants.h"
#include "flow/cutscenes/EagleAbductionCutscene.h"
#include "stickman/Ragdoll.h"

#include <box2d/b2_body.h>

#include <QGraphicsPixmapItem>
#include <QLoggingCategory>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <cmath>

namespace
{
// The player's feet at y = 400 px, x = 1500 px, in a level 30 m wide.
const QByteArray HighGround = SceneLevel(R"(
  <start x="15" y="4"/>
  <ground><region x="0" y="4" width="30" height="6"/></ground>
)");

QImage eaglePicture()
{
  QImage picture(200, 120, QImage::Format_ARGB32);
  picture.fill(Qt::darkGray);
  return picture;
}

QList<QGraphicsPixmapItem*> eagles(QGraphicsScene& scene)
{
  QList<QGraphicsPixmapItem*> found;
  for (QGraphicsItem* item : scene.items())
    if (auto* pixmap = dynamic_cast<QGraphicsPixmapItem*>(item); pixmap && pixmap->pixmap().size() == QSize(200, 120))
      found.append(pixmap);
  return found;
}

// The cutscenes' debug lines, which a player switches on, while it lives.
struct CutsceneDebugLines
{
  CutsceneDebugLines() { QLoggingCategory::setFilterRules(QStringLiteral("bv.cutscene.debug=true")); }
  ~CutsceneDebugLines() { QLoggingCategory::setFilterRules(QString()); }
};

// Where the eagle holds the stickman, in the picture above.
const QPointF Talons(0.64 * 200, 0.86 * 120);
} // namespace

TEST(EagleAbductionCutsceneTest, WithoutItsPictureOrAPlayerTheEagleNeverComes)
{
  SceneFixture f;
  f.Build(HighGround);
  const CutsceneDebugLines debugLines;
  QStringList events;
  QObject::connect(&f.scene(), &Scene::cutsceneStarted, [&] { events << "started"; });
  QObject::connect(&f.scene(), &Scene::cutsceneFinished, [&] { events << "finished"; });
  {
    LogCapture log("bv.cutscene");
    EagleAbductionCutscene missing(QImage(), "/no/such/folder/eagle.png");
    f.scene().PlayCutscene(&missing);
    f.Tick();
    EXPECT_EQ(events, QStringList({"started", "finished"}));
    EXPECT_EQ(log.lines(), QStringList("Failed to load image \"/no/such/folder/eagle.png\""));
  }
  EXPECT_TRUE(f.player()->isVisible());
  EXPECT_TRUE(f.scene().GetRagdolls().isEmpty());

  events.clear();
  f.scene().KillStickman(f.player(), QPointF(), QString(), ObjectCategory::Other, QPointF());
  ASSERT_EQ(f.player(), nullptr);
  LogCapture log("bv.cutscene");
  EagleAbductionCutscene eagle(eaglePicture());
  f.scene().PlayCutscene(&eagle);
  f.Tick();
  EXPECT_EQ(events, QStringList({"started", "finished"}));
  EXPECT_EQ(log.lines(), QStringList("No stickman to abduct"));
  EXPECT_TRUE(eagles(f.scene()).isEmpty());
}

TEST(EagleAbductionCutsceneTest, TheEagleSwoopsFromTheTopToThePlayersNeckAndCarriesItOff)
{
  SceneFixture f;
  f.Build(HighGround);
  Stickman* player = f.player();
  const QPointF feet = player->scenePos();
  ASSERT_NEAR(feet.y(), 400, 1);
  QSignalSpy finished(&f.scene(), &Scene::cutsceneFinished);
  EagleAbductionCutscene eagle(eaglePicture());
  f.scene().PlayCutscene(&eagle);
  f.Tick();
  const QList<QGraphicsPixmapItem*> shown = eagles(f.scene());
  ASSERT_EQ(shown.size(), 1);
  QGraphicsPixmapItem* item = shown.first();
  EXPECT_EQ(item->zValue(), bv::StickmanZValue);

  // The neck 0.9 stickman heights above the feet; the eagle enters at the top
  // of the scene five times that height to the left.
  const QPointF neck = feet - QPointF(0, 162);
  const QPointF start = item->pos() + Talons;
  EXPECT_NEAR(start.x(), neck.x() - 5 * neck.y(), 12);
  EXPECT_NEAR(start.y(), 0, 12);

  QPointF lowest = start;
  int ticks = 0;
  while (finished.isEmpty() && ticks < 1000)
  {
    const QPointF talons = item->pos() + Talons;
    if (talons.y() > lowest.y())
      lowest = talons;
    if (talons.x() < neck.x() - 20)
    {
      // On its way down, before the grab, the player stands where it stood.
      EXPECT_TRUE(player->isVisible());
      EXPECT_TRUE(f.scene().GetRagdolls().isEmpty());
    }
    f.Tick();
    ++ticks;
  }
  ASSERT_EQ(finished.count(), 1);
  // 5 m/s along a circle of about 31 m, from 247 to 293 degrees: about 5 s.
  EXPECT_NEAR(ticks, 305, 10);
  EXPECT_NEAR(lowest.x(), neck.x(), 12);
  EXPECT_NEAR(lowest.y(), neck.y(), 2);

  // It went with the player's ragdoll hanging from its talons, out at the top right.
  EXPECT_TRUE(eagles(f.scene()).isEmpty());
  EXPECT_FALSE(player->isVisible());
  ASSERT_EQ(f.scene().GetRagdolls().size(), 1);
  const Ragdoll::Element* carried = f.scene().GetRagdolls().first()->FindElementByName("neck");
  ASSERT_NE(carried, nullptr);
  const QPointF end = m2px(QPointF(carried->body->GetPosition().x, carried->body->GetPosition().y));
  EXPECT_NEAR(end.x(), neck.x() + 5 * neck.y(), 30);
  EXPECT_NEAR(end.y(), 0, 30);
}

TEST(EagleAbductionCutsceneTest, ALevelBuiltDuringTheFlightTakesTheEagleAway)
{
  SceneFixture f;
  f.Build(HighGround);
  EagleAbductionCutscene eagle(eaglePicture());
  f.scene().PlayCutscene(&eagle);
  f.Tick(200);
  ASSERT_EQ(eagles(f.scene()).size(), 1);
  ASSERT_EQ(f.scene().GetRagdolls().size(), 1);
  f.Build(HighGround);
  EXPECT_TRUE(eagles(f.scene()).isEmpty());
  EXPECT_TRUE(f.player()->isVisible());
  f.Tick(5);
}
