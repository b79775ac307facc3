#include "flow/AnyKeyInputHandler.h"
#include "flow/CutsceneInputHandler.h"
#include "flow/GameInputHandler.h"
#include "flow/GameMenuScene.h"
#include "flow/GameOverInputHandler.h"
#include "flow/HUD.h"
#include "flow/MenuInputHandler.h"
#include "flow/View.h"
#include "world/Level.h"
#include "world/Scene.h"

#include "ManagerTestSupport.h"

#include "common/FilePaths.h"
#include "stickman/Stickman.h"

#include <QCoreApplication>
#include <QGraphicsTextItem>
#include <QImage>
#include <QMediaPlayer>
#include <QPainter>
#include <QSettings>
#include <QUrl>

#include <cmath>

namespace
{
using Manager = ManagerTest;

const QStringList AlwaysShown{"How to play", "Quit", "Start new game"};
} // namespace

TEST_F(Manager, FirstRunShowsTheMenuWithoutASession)
{
  EXPECT_TRUE(showsMenu());
  EXPECT_TRUE(current<MenuInputHandler>());
  EXPECT_FALSE(manager().IsTicking());
  EXPECT_EQ(visibleButtons(), AlwaysShown);
  EXPECT_TRUE(manager().GetLastVisitedLevel().isEmpty());
  EXPECT_EQ(manager().GetVisitedLevels(), QStringList{manager().GetStartLevelName()});
  EXPECT_TRUE(window.testAttribute(Qt::WA_MouseTracking));
}

TEST_F(Manager, ProgressIsReadFromTheSettingsStore)
{
  {
    QSettings settings;
    settings.setValue("visited_levels/test_flat", true);
    settings.setValue("visited_levels/test_dead_end", false);
    settings.setValue("last_visited_level", "test_flat");
  }
  EXPECT_TRUE(manager().GetVisitedLevels().contains("test_flat"));
  EXPECT_FALSE(manager().GetVisitedLevels().contains("test_dead_end"));
  EXPECT_EQ(manager().GetLastVisitedLevel(), QString("test_flat"));
  EXPECT_EQ(visibleButtons(), (QStringList{"How to play", "Quit", "Restart level", "Resume playing", "Start new game"}));

  clickButton("Resume playing");
  EXPECT_EQ(manager().GetLevelName(), QString("test_flat"));
  EXPECT_TRUE(showsLevel());
}

TEST_F(Manager, TheStartLevelIsNoSessionToResume)
{
  {
    QSettings settings;
    settings.setValue("last_visited_level", manager().GetStartLevelName());
  }
  restartProgram();
  EXPECT_TRUE(manager().GetLastVisitedLevel().isEmpty());
  EXPECT_EQ(visibleButtons(), AlwaysShown);
}

TEST_F(Manager, StartingALevelToursTheLevelThenHandsOverThePlay)
{
  manager().PlayLevel("test_flat");
  EXPECT_TRUE(showsLevel());
  EXPECT_TRUE(manager().IsTicking());
  EXPECT_TRUE(manager().IsLevelOverviewRunning());
  EXPECT_TRUE(current<CutsceneInputHandler>());
  EXPECT_FALSE(window.testAttribute(Qt::WA_MouseTracking));
  ASSERT_NE(manager().GetScene()->GetPlayer(), nullptr);
  finishOverview();
  EXPECT_TRUE(current<GameInputHandler>());
  // The camera ends on the player, the middle of its body at the window's middle
  // unless the level's edge holds it back.
  const QPointF feet = manager().GetScene()->GetPlayer()->pos();
  EXPECT_LE(std::abs(manager().GetView()->center().x() - feet.x()), 640.0 + 1);
}

// Once the tour ends the level's music starts and its subtitle names the track
// and the project's own musicians, nothing else.
TEST_F(Manager, TheTrackThatStartsIsCreditedToTheProjectsMusicians)
{
  manager().SetLevelsPath(GetLevelsPath()); // a shipped level
  manager().PlayLevel("sea_shore");
  finishOverview();
  const QGraphicsTextItem* subtitle = manager().GetScene()->GetHUD()->GetSubtitleItem();
  ASSERT_NE(subtitle, nullptr);
  EXPECT_EQ(subtitle->toPlainText(), "Playing: Tidewater by the Brisvel musicians");
}

TEST_F(Manager, ProgressSurvivesARestartOfTheProgram)
{
  manager().PlayLevel("test_flat");
  restartProgram();
  EXPECT_EQ(manager().GetLastVisitedLevel(), QString("test_flat"));
  EXPECT_TRUE(manager().GetVisitedLevels().contains("test_flat"));
  EXPECT_TRUE(visibleButtons().contains("Resume playing"));
  QSettings settings;
  EXPECT_TRUE(settings.value("visited_levels/test_flat").toBool());
}

TEST_F(Manager, EscapeGoesToTheMenuAndTheMenuGoesBack)
{
  manager().PlayLevel("test_flat");
  finishOverview();
  const QTransform playing = manager().GetView()->transform();
  key(Qt::Key_Escape);
  EXPECT_TRUE(showsMenu());
  EXPECT_FALSE(manager().IsTicking());
  EXPECT_EQ(visibleButtons(), (QStringList{"Continue", "How to play", "Quit", "Restart level", "Start new game"}));
  key(Qt::Key_Escape); // the menu's Escape resumes
  EXPECT_TRUE(showsLevel());
  EXPECT_TRUE(manager().IsTicking());
  EXPECT_TRUE(current<GameInputHandler>());
  EXPECT_EQ(manager().GetView()->transform(), playing);

  key(Qt::Key_Escape);
  clickButton("Continue");
  EXPECT_TRUE(showsLevel());
}

TEST_F(Manager, HelpIsLeftWithAnyKey)
{
  clickButton("How to play");
  EXPECT_EQ(manager().GetView()->scene(), manager().GetHelpScene());
  EXPECT_TRUE(current<AnyKeyInputHandler>());
  EXPECT_FALSE(manager().GetHelpScene()->sceneRect().isEmpty());
  key(Qt::Key_A);
  EXPECT_TRUE(showsMenu());
  EXPECT_TRUE(current<MenuInputHandler>());
}

TEST_F(Manager, DyingRestartsTheLevelAfterTwoSeconds)
{
  manager().PlayLevel("test_flat");
  finishOverview();
  emit manager().GetScene()->playerKilled();
  EXPECT_TRUE(current<GameOverInputHandler>());
  EXPECT_EQ(manager().GetAutoRestartCountdownMs(), 2000);
  tick(50);
  EXPECT_EQ(manager().GetAutoRestartCountdownMs(), 2000 - 50 * 16);

  // The menu stops the countdown; coming back resumes the game-over phase.
  key(Qt::Key_Escape);
  EXPECT_TRUE(showsMenu());
  key(Qt::Key_Escape);
  EXPECT_TRUE(current<GameOverInputHandler>());
  EXPECT_EQ(manager().GetAutoRestartCountdownMs(), 2000 - 50 * 16);

  tick(74);
  EXPECT_EQ(manager().GetRestartCount(), 0);
  tick(1); // 125 ticks: 2000 - 125 * 16 = 0
  EXPECT_EQ(manager().GetRestartCount(), 1);
  EXPECT_EQ(manager().GetAutoRestartCountdownMs(), 0);
  EXPECT_TRUE(current<GameInputHandler>());
  EXPECT_TRUE(manager().IsTicking());
  EXPECT_NE(manager().GetScene()->GetPlayer(), nullptr);
}

TEST_F(Manager, RestartFromTheMenu)
{
  manager().PlayLevel("test_flat");
  finishOverview();
  key(Qt::Key_Escape);
  clickButton("Restart level");
  EXPECT_TRUE(showsLevel());
  EXPECT_TRUE(current<GameInputHandler>());
  EXPECT_EQ(manager().GetRestartCount(), 1);
  EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(Manager, AFinishedLevelChainsToTheNextOne)
{
  manager().PlayLevel("test_flat");
  finishOverview();
  emit manager().GetScene()->levelFinished(QString()); // the last level ends nowhere
  EXPECT_EQ(manager().GetLevelName(), QString("test_flat"));
  emit manager().GetScene()->levelFinished("test_ladder");
  EXPECT_EQ(manager().GetLevelName(), QString("test_ladder"));
  EXPECT_EQ(manager().GetLastVisitedLevel(), QString("test_ladder"));
  EXPECT_TRUE(manager().GetVisitedLevels().contains("test_ladder"));
  EXPECT_TRUE(manager().IsLevelOverviewRunning());
  EXPECT_TRUE(current<CutsceneInputHandler>());
  EXPECT_EQ(manager().GetRestartCount(), 0);
  QSettings settings;
  EXPECT_EQ(settings.value("last_visited_level").toString(), QString("test_ladder"));
  EXPECT_TRUE(errors.isEmpty());
}

TEST_F(Manager, ALevelThatFailsToLoadWhilePlayingReturnsToTheMenu)
{
  manager().PlayLevel("test_dead_end"); // the player starts in its finish area
  for (int i = 0; i < 600 && showsLevel(); ++i)
    tick();
  ASSERT_EQ(errors.size(), 1);
  EXPECT_EQ(errors[0], "Level file \"" BV_TEST_LEVELS_DIR "/test_no_such_level.xml\"\nis corrupted or does not exist");
  EXPECT_TRUE(showsMenu());
  EXPECT_EQ(manager().GetLevelName(), QString("test_dead_end"));
  EXPECT_EQ(manager().GetLastVisitedLevel(), QString("test_dead_end"));
}

TEST_F(Manager, ABrokenFirstLevelLeavesTheMenuAsItWas)
{
  manager().PlayLevel("test_broken");
  ASSERT_EQ(errors.size(), 1);
  EXPECT_TRUE(errors[0].startsWith("Level file \""));
  EXPECT_TRUE(showsMenu());
  EXPECT_EQ(visibleButtons(), AlwaysShown);
  EXPECT_TRUE(manager().GetLevelName().isEmpty());
  QSettings settings;
  EXPECT_FALSE(settings.contains("last_visited_level"));
}

TEST_F(Manager, CutscenePhasesNestAndControlReturnsAtTheLastOne)
{
  manager().PlayLevel("test_flat");
  emit manager().GetScene()->cutsceneStarted(); // a start cutscene during the overview
  finishOverview();
  EXPECT_TRUE(current<CutsceneInputHandler>());
  emit manager().GetScene()->cutsceneFinished();
  EXPECT_TRUE(current<GameInputHandler>());
  emit manager().GetScene()->cutsceneFinished(); // one too many changes nothing
  EXPECT_TRUE(current<GameInputHandler>());
  emit manager().GetScene()->cutsceneStarted();
  EXPECT_TRUE(current<CutsceneInputHandler>());
}

TEST_F(Manager, TheMenuIsPaintedBeforeTheMusicPlayerIsMade)
{
  EXPECT_EQ(manager().findChild<QMediaPlayer*>(), nullptr);
  QImage frame(window.size(), QImage::Format_ARGB32_Premultiplied);
  QPainter painter(&frame);
  manager().Render(&painter);
  painter.end();
  EXPECT_EQ(manager().findChild<QMediaPlayer*>(), nullptr);
  QCoreApplication::processEvents();
  EXPECT_NE(manager().findChild<QMediaPlayer*>(), nullptr);
}

TEST_F(Manager, ALevelStartedAtOncePlaysItsFirstTrackOnceThePageHasTurned)
{
  Level level(QSizeF(0, 0));
  ASSERT_TRUE(level.Load(GetLevelsPath() + "/sea_shore.xml"));
  ASSERT_FALSE(level.GetMusicTracks().isEmpty());
  manager().SetLevelsPath(GetLevelsPath());
  manager().PlayLevel("sea_shore");
  const auto* player = manager().findChild<QMediaPlayer*>();
  ASSERT_NE(player, nullptr);
  for (int i = 0; i < 600 && player->media().isNull(); ++i)
    tick();
  EXPECT_EQ(player->media().request().url(), QUrl::fromLocalFile(level.GetMusicTracks().first().path));
  EXPECT_EQ(player->state(), QMediaPlayer::PlayingState);
}
