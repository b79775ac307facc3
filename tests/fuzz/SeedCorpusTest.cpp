#include "ObjectTestSupport.h"
#include "SceneTestSupport.h"

#include "common/GraphicsItemUserData.h"
#include "world/Door.h"
#include "world/Ladder.h"
#include "world/Object.h"
#include "world/ObjectCreator.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace
{
QFileInfoList corpus(const QString& name)
{
  return QDir(QStringLiteral(BV_FUZZ_CORPUS "/") + name).entryInfoList(QDir::Files, QDir::Name);
}

int ladderCount(const Scene& scene)
{
  int count = 0;
  for (QGraphicsItem* item : scene.items())
    count += ExtractLadderFromGraphicsItem(item) != nullptr;
  return count;
}
} // namespace

using ObjectSnapshotSeedTest = SceneTest;

TEST_F(ObjectSnapshotSeedTest, EverySeedLoadsAsTheObjectItIsNamedAfter)
{
  ObjectCreator creator;
  creator.Init(scene, scene->GetMaterials(), &fixture.sounds());
  const QFileInfoList seeds = corpus(QStringLiteral("object_snapshot"));
  ASSERT_GE(seeds.size(), 3);
  bool sawLadder = false;
  for (const QFileInfo& seed : seeds)
  {
    SCOPED_TRACE(seed.fileName().toStdString());
    const int ladders = ladderCount(*scene);
    Object* object = creator.LoadObject(seed.filePath(), QPointF(1200, 300));
    if (seed.baseName() == QLatin1String("ladder"))
    {
      sawLadder = true;
      EXPECT_EQ(ladderCount(*scene), ladders + 1);
      continue;
    }
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->GetName(), seed.baseName());
  }
  EXPECT_TRUE(sawLadder);
}

TEST(ObjectDescriptionsSeedTest, EverySeedLoadsDescriptions)
{
  const QFileInfoList seeds = corpus(QStringLiteral("objects"));
  ASSERT_GE(seeds.size(), 2);
  for (const QFileInfo& seed : seeds)
  {
    ObjectCreator creator;
    EXPECT_TRUE(creator.loadObjectDescriptions(seed.filePath(), nullptr, nullptr)) << seed.fileName().toStdString();
    EXPECT_FALSE(creator.GetObjectDescriptions().isEmpty()) << seed.fileName().toStdString();
  }
}

TEST(LevelSeedTest, EverySeedBuildsASceneWithAllItsDoorsAndItsDarknessThatTicks)
{
  const QFileInfoList seeds = corpus(QStringLiteral("level"));
  ASSERT_GE(seeds.size(), 3);
  for (const QFileInfo& seed : seeds)
  {
    SCOPED_TRACE(seed.fileName().toStdString());
    QFile file(seed.filePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    // The fuzzer lays out the same pictures as the test levels' directory.
    SceneFixture f;
    f.Build(file.readAll());
    EXPECT_EQ(f.scene().GetDoors().size(), f.level().GetDoors().size());
    EXPECT_EQ(f.scene().GetDarknessLayer() != nullptr, f.level().IsDark());
    f.Tick(60);
  }
}
