#include "flow/AnyKeyInputHandler.h"
#include "flow/CutsceneInputHandler.h"
#include "flow/FailbackMainWindow.h"
#include "flow/DisappearingThinkBubble.h"
#include "flow/GameInputHandler.h"
#include "flow/GameMenuScene.h"
#include "flow/GameOverInputHandler.h"
#include "flow/GraphicsButton.h"
#include "flow/HUD.h"
#include "flow/MenuInputHandler.h"
#include "flow/View.h"
#include "world/ArtisticDrawing.h"
#include "world/Level.h"
#include "world/Scene.h"

#include "ManagerTestSupport.h"
#include "../world/SceneTestSupport.h"

#include "common/FilePaths.h"
#include "common/GraphicsItemUserData.h"
#include "stickman/Stickman.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGraphicsPixmapItem>
#include <QGraphicsTextItem>
#include <QGraphicsSimpleTextItem>
#include <QImage>
#include <QKeyEvent>
#include <QMediaPlayer>
#include <QMouseEvent>
#include <QPainter>
#include <QSettings>
#include <QUrl>

#include <AL/al.h>

#include <algorithm>
#include <cmath>

namespace
{
using Manager = ManagerTest;

const QStringList AlwaysShown{"How to play", "Levels", "Quit", "Sound", "Start new game"};

/// The player's data folder in a temporary folder while it lives.
struct TemporaryDataHome
{
  TemporaryDataHome() : old(qgetenv("XDG_DATA_HOME")) { Set(dir.path()); }
  ~TemporaryDataHome()
  {
    if (old.isNull())
      qunsetenv("XDG_DATA_HOME");
    else
      qputenv("XDG_DATA_HOME", old);
  }
  void Set(const QString& path) { qputenv("XDG_DATA_HOME", QFile::encodeName(path)); }

  QTemporaryDir dir;
  QByteArray old;
};
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
  // "Resume playing" names the level it resumes.
  const QString resume = "Resume: A short walk";
  EXPECT_EQ(visibleButtons(), (QStringList{"How to play", "Levels", "Quit", "Restart level", resume, "Sound", "Start new game"}));

  clickButton(resume);
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

// A level wider than the screen's shape: the tour never shows what lies
// outside the level, above or below it.
TEST_F(Manager, TheTourShowsNothingOutsideTheLevel)
{
  manager().SetLevelsPath(GetLevelsPath());
  manager().PlayLevel("sea_shore");
  const QRectF level = manager().GetScene()->sceneRect();
  int ticks = 0;
  for (; ticks < 3750 && manager().IsLevelOverviewRunning(); ++ticks)
  {
    const QRectF shown = manager().GetView()->transform().inverted().mapRect(QRectF(0, 0, 1280, 720));
    ASSERT_TRUE(level.adjusted(-1, -1, 1, 1).contains(shown)) << "tick " << ticks;
    tick();
  }
  EXPECT_GT(ticks, 100);
}

// The pick-up key with nothing in reach and nothing held says so.
TEST_F(Manager, PickingUpWithNothingInReachSaysSo)
{
  manager().PlayLevel("test_flat");
  finishOverview();
  Stickman* player = manager().GetScene()->GetPlayer();
  ASSERT_NE(player, nullptr);
  key(Qt::Key_Shift);
  int comments = 0;
  for (QGraphicsItem* item : manager().GetScene()->items())
    comments += dynamic_cast<DisappearingThinkBubble*>(item) != nullptr;
  EXPECT_EQ(comments, 1);
  EXPECT_EQ(player->GetGrabbedItem(), nullptr);
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
  EXPECT_TRUE(visibleButtons().contains("Resume: A short walk"));
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
  EXPECT_EQ(visibleButtons(), (QStringList{"Continue", "How to play", "Levels", "Quit", "Restart level", "Sound", "Start new game"}));
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

  // The death of a stickman the player had to keep alive ends the game alike.
  emit manager().GetScene()->vipKilled();
  EXPECT_TRUE(current<GameOverInputHandler>());
  EXPECT_EQ(manager().GetAutoRestartCountdownMs(), 2000);
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

TEST_F(Manager, ABrokenFirstLevelLeavesNoGameToResume)
{
  manager().PlayLevel("test_broken");
  ASSERT_EQ(errors.size(), 1);
  key(Qt::Key_Escape); // the menu's Escape resumes a game: there is none
  EXPECT_TRUE(showsMenu());
  EXPECT_FALSE(manager().IsTicking());
  // A drawing over the scene, had it been shown, would have set it running.
  key(Qt::Key_Control);
  tick();
  EXPECT_TRUE(manager().GetScene()->IsPaused());
}

// Control pressed, then released while the window had no focus: the drawing
// is still open when the player starts a game from the menu.
TEST_F(Manager, ADrawingLeftOpenIsDroppedWhenALevelStarts)
{
  manager().PlayLevel("test_flat");
  finishOverview();
  const auto drawingsShown = [this] {
    int count = 0;
    for (QGraphicsItem* item : manager().GetScene()->items())
      count += dynamic_cast<ArtisticDrawing*>(item) ? 1 : 0;
    return count;
  };
  QKeyEvent control(QEvent::KeyPress, Qt::Key_Control, Qt::NoModifier);
  manager().keyPressEvent(&control);
  emit manager().GetGameInputHandler()->drawingMoveTo(QPointF(300, 300));
  emit manager().GetGameInputHandler()->drawingLineTo(QPointF(400, 300));
  ASSERT_EQ(drawingsShown(), 1);
  key(Qt::Key_Escape);
  ASSERT_TRUE(showsMenu());

  manager().PlayLevel("test_flat");
  finishOverview();
  manager().keyPressEvent(&control);
  EXPECT_EQ(drawingsShown(), 1) << "a new drawing begins";
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier);
  manager().keyReleaseEvent(&release);
  tick();
  EXPECT_EQ(drawingsShown(), 0) << "an empty drawing is dropped";
  EXPECT_FALSE(manager().GetScene()->IsPaused());
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

// The program's folder is read-only once installed: objects saved with Alt and
// a digit go to the player's data folder, and a save that fails is told.
TEST_F(Manager, ObjectsAreSavedInThePlayersDataFolder)
{
  TemporaryDataHome dataHome;
  manager().PlayLevel("test_flat");
  finishOverview();
  // Nothing drawn yet: nothing to save, nothing failed, wherever the folder is.
  dataHome.Set("/dev/null");
  key(Qt::Key_5, Qt::AltModifier);
  EXPECT_EQ(ShownComment(*manager().GetScene()), QString());
  dataHome.Set(dataHome.dir.path());
  // A ladder: two rails and three rungs, standing on the ground.
  QList<QPolygonF> ladder;
  for (double x : {800.0, 860.0})
    ladder << QPolygonF({QPointF(x, 458), QPointF(x, 538), QPointF(x, 618), QPointF(x, 698)});
  for (double y : {518.0, 578.0, 638.0})
    ladder << QPolygonF({QPointF(800, y), QPointF(830, y), QPointF(860, y)});
  draw(ladder);
  const auto ladders = [this] {
    int count = 0;
    for (QGraphicsItem* item : manager().GetScene()->items())
      count += ExtractLadderFromGraphicsItem(item) != nullptr;
    return count;
  };
  ASSERT_EQ(ladders(), 1);

  key(Qt::Key_3, Qt::AltModifier);
  const QString saved = dataHome.dir.filePath("brisvel-tests/manager/3.obj");
  EXPECT_TRUE(QFileInfo(saved).isFile());
  EXPECT_FALSE(QFile::exists(GetDataRootPath() + "/3.obj"));
  EXPECT_NE(ShownComment(*manager().GetScene()), "I couldn't save that as object 3.");
  key(Qt::Key_3);
  EXPECT_EQ(ladders(), 2) << "loaded back from the player's folder";

  // No folder can be made under a file.
  dataHome.Set(saved);
  key(Qt::Key_4, Qt::AltModifier);
  EXPECT_EQ(ShownComment(*manager().GetScene()), "I couldn't save that as object 4.");
  EXPECT_FALSE(QFile::exists(GetDataRootPath() + "/4.obj"));
}

// A level name is a file of the levels folder: names from the settings or from
// a finish area that lead out of it are refused, even where such a file exists.
TEST_F(Manager, LevelNamesNeverLeadOutOfTheLevelsFolder)
{
  QTemporaryDir outside;
  ASSERT_TRUE(QFile::copy(manager().GetLevelsPath() + "/test_flat.xml", outside.filePath("elsewhere.xml")));
  const QString escaping = QDir(manager().GetLevelsPath()).relativeFilePath(outside.filePath("elsewhere"));
  ASSERT_TRUE(escaping.startsWith("../"));
  {
    QSettings settings;
    settings.setValue("last_visited_level", escaping);
  }
  EXPECT_TRUE(manager().GetLastVisitedLevel().isEmpty());
  EXPECT_EQ(visibleButtons(), AlwaysShown);

  manager().PlayLevel(escaping);
  EXPECT_TRUE(manager().GetLevelName().isEmpty());
  ASSERT_EQ(errors.size(), 1);
  EXPECT_TRUE(errors[0].contains("is not the name of a level")) << errors[0].toStdString();

  manager().PlayLevel("test_flat");
  finishOverview();
  emit manager().GetScene()->levelFinished(escaping);
  EXPECT_EQ(manager().GetLevelName(), QString("test_flat"));
  EXPECT_EQ(errors.size(), 2);
  EXPECT_TRUE(showsMenu());
}

// A game in progress is forgotten only when the player says so.
TEST_F(Manager, ANewGameAsksBeforeItForgetsWhereThePlayerWas)
{
  {
    QSettings settings;
    settings.setValue("visited_levels/test_flat", true);
    settings.setValue("last_visited_level", "test_flat");
  }
  clickButton("Start new game");
  EXPECT_TRUE(showsMenu());
  EXPECT_TRUE(manager().GetLevelName().isEmpty());
  EXPECT_EQ(visibleButtons(), (QStringList{"No", "Yes, start a new game"}));
  clickButton("No");
  EXPECT_TRUE(visibleButtons().contains("Resume: A short walk"));
  clickButton("Start new game");
  key(Qt::Key_Escape);
  EXPECT_TRUE(visibleButtons().contains("Resume: A short walk")) << "Escape goes back to the buttons";
  EXPECT_EQ(manager().GetLastVisitedLevel(), QString("test_flat"));

  // The start level is one of the game's own.
  manager().SetLevelsPath(GetLevelsPath());
  clickButton("Start new game");
  clickButton("Yes, start a new game");
  EXPECT_EQ(manager().GetLevelName(), manager().GetStartLevelName());
  EXPECT_TRUE(showsLevel());
}

// Every level reached has a card with its title and picture; a card starts its
// level, by mouse and by keyboard.
TEST_F(Manager, TheLevelsPageStartsAnyLevelReached)
{
  {
    QSettings settings;
    settings.setValue("visited_levels/test_flat", true);
    settings.setValue("visited_levels/test_ladder", true);
  }
  clickButton("Levels");
  // The game's first level is no test level: it does not load here, and has no card.
  EXPECT_EQ(visibleButtons(), (QStringList{"A short walk", "Back", "Up the ladder"}));
  for (QGraphicsItem* item : manager().GetMenuScene()->items())
    if (auto* card = dynamic_cast<GraphicsButton*>(item); card && card->isVisible() && card->GetText() != "Back")
    {
      const QList<QGraphicsItem*> children = card->childItems();
      EXPECT_TRUE(std::any_of(children.begin(), children.end(), [](QGraphicsItem* child) {
        auto* picture = dynamic_cast<QGraphicsPixmapItem*>(child);
        return picture && picture->pixmap().width() > 100;
      })) << card->GetText().toStdString();
    }
  clickButton("Up the ladder");
  EXPECT_EQ(manager().GetLevelName(), QString("test_ladder"));
  EXPECT_TRUE(showsLevel());

  // From the game, through the menu, with the keyboard only: the levels button
  // is the first; Down moves from the first card to the second.
  key(Qt::Key_Escape);
  ASSERT_TRUE(showsMenu());
  key(Qt::Key_Down);
  key(Qt::Key_Return);
  ASSERT_EQ(visibleButtons().size(), 3);
  key(Qt::Key_Down);
  key(Qt::Key_Return);
  EXPECT_EQ(manager().GetLevelName(), QString("test_ladder"));
  EXPECT_TRUE(showsLevel());
}

// The window's own keys switch full screen; the play stops when the window
// loses the focus, and the menu shows.
TEST_F(Manager, F11SwitchesFullScreenAndLosingTheFocusPausesThePlay)
{
  FailbackMainWindow game;
  game.show();
  const auto press = [&game](int key, Qt::KeyboardModifiers modifiers) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QCoreApplication::sendEvent(&game, &event);
  };
  press(Qt::Key_F11, Qt::NoModifier);
  EXPECT_TRUE(game.isFullScreen());
  press(Qt::Key_Return, Qt::AltModifier);
  EXPECT_FALSE(game.isFullScreen());

  GeneralManager& manager = *game.GetManager();
  manager.SetManualTicks();
  manager.SetLevelErrorHandler([](const QString& message) { ADD_FAILURE() << message.toStdString(); });
  manager.SetLevelsPath(BV_TEST_LEVELS_DIR);
  manager.PlayLevel("test_flat");
  ASSERT_TRUE(manager.IsTicking());
  QEvent deactivated(QEvent::ActivationChange);
  QCoreApplication::sendEvent(&game, &deactivated);
  EXPECT_FALSE(manager.IsTicking());
  EXPECT_EQ(manager.GetView()->scene(), manager.GetMenuScene());
}

// The sound page sets the music and effects volumes; the settings store keeps them.
TEST_F(Manager, VolumesAreSetInTheMenuAndKept)
{
  clickButton("Sound");
  QList<GraphicsButton*> lower;
  for (QGraphicsItem* item : manager().GetMenuScene()->items())
    if (auto* button = dynamic_cast<GraphicsButton*>(item); button && button->isVisible() && button->GetText() == "\u2212")
      lower << button;
  ASSERT_EQ(lower.size(), 2);
  std::sort(lower.begin(), lower.end(), [](auto* a, auto* b) { return a->y() < b->y(); });
  const auto press = [this](GraphicsButton* button) {
    const QPoint at = manager().GetView()->mapFromScene(button->sceneBoundingRect().center());
    QMouseEvent event(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    manager().mousePressEvent(&event);
  };
  press(lower[0]);
  press(lower[0]);
  press(lower[1]);
  EXPECT_EQ(QSettings().value("music_volume").toInt(), 80);
  EXPECT_EQ(QSettings().value("effects_volume").toInt(), 90);
  ALfloat gain = 0;
  alGetListenerf(AL_GAIN, &gain);
  EXPECT_FLOAT_EQ(gain, 0.9f);

  restartProgram();
  QStringList texts;
  for (QGraphicsItem* item : manager().GetMenuScene()->items())
    if (auto* text = dynamic_cast<QGraphicsSimpleTextItem*>(item))
      texts << text->text();
  EXPECT_TRUE(texts.contains("Music: 80 %"));
  EXPECT_TRUE(texts.contains("Effects: 90 %"));
}
