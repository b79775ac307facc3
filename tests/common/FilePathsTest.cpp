#include "common/FilePaths.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

TEST(FilePaths, EverythingLivesBesideTheProgram)
{
  const QString root = QCoreApplication::applicationDirPath();
  EXPECT_EQ(GetDataRootPath(), root);
  EXPECT_EQ(GetStickmanPath(), root + "/stickman.xml");
  EXPECT_EQ(GetImagesDbPath(), root + "/images.db");
  EXPECT_EQ(GetMaterialsPath(), root + "/materials.xml");
  EXPECT_EQ(GetObjectsPath(), root + "/objects.xml");
  EXPECT_EQ(GetLevelsPath(), root + "/levels");
  EXPECT_EQ(GetSoundsPath(), root + "/sounds");
  EXPECT_EQ(GetExtraCommentsPath(), root + "/extra_comments.txt");
  EXPECT_EQ(GetGameMenuBackgroundPath(), root + "/menu_background.png");
  EXPECT_EQ(GetHelpScreenPath(), root + "/how_to_play_pc.png");
  EXPECT_EQ(GetMusicTrackPath("forest"), root + "/music/forest.aac");
  EXPECT_EQ(GetStartLevelConfigPath(), root + "/start.txt");
}
