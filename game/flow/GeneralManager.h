#pragma once

#include "GameClock.h"

#include "common/Direction.h"
#include "world/Level.h"

#include <QCursor>
#include <QMediaPlayer>
#include <QObject>
#include <QPointF>
#include <QStringList>
#include <QTransform>

#include <functional>
#include <memory>

class AnyKeyInputHandler;
class CutsceneInputHandler;
class GameInputHandler;
class GameMenuScene;
class GameOverInputHandler;
class InputHandler;
class InputRecorder;
class Ladder;
class LevelOverviewer;
class Materials;
class MenuInputHandler;
class ObjectCreator;
class QGraphicsScene;
class QKeyEvent;
class QMouseEvent;
class QPainter;
class QResizeEvent;
class QWidget;
class Scene;
class SoundManager;
class Stickman;
class View;

/// The game's spine, created by the main window, which forwards all its
/// events here. It owns the level, the scene, the view and the long-lived
/// services, decides what is shown (menu, help, level) and which input
/// handler is current, chains the levels, keeps the progress in the settings
/// store, plays the music and steers the player onto and off ladders.
///
/// The constructor loads the data files; a missing or corrupt materials or
/// stickman file raises std::runtime_error with a message for the player.
class GeneralManager : public QObject
{
  Q_OBJECT

public:
  /// \a widget is the main window (not owned).
  GeneralManager(QWidget* widget, QObject* parent);
  ~GeneralManager() override;

  void Render(QPainter* painter);
  void keyPressEvent(QKeyEvent* event);
  void keyReleaseEvent(QKeyEvent* event);
  void mousePressEvent(QMouseEvent* event);
  void mouseReleaseEvent(QMouseEvent* event);
  void mouseMoveEvent(QMouseEvent* event);
  void resizeEvent(QResizeEvent* event);

  /// Makes \a handler current: the old one is stopped, the new one started.
  void SetInputHandler(InputHandler* handler);

  /// Starts a game at \a levelName as the menu's buttons do; for tools that
  /// play a level without the menu.
  void PlayLevel(const QString& levelName);
  /// Leaves the game tick to the caller (headless tools and tests), who then
  /// calls Tick while IsTicking: the timer goes on telling whether the game
  /// ticks but never fires, not even inside events processed during a tick.
  void SetManualTicks();
  /// One game tick, as the timer gives it every 16 ms.
  void Tick() { advance(); }
  /// Receives the message of a level that fails to load while the game runs;
  /// the default shows it in a message box. The game then returns to the menu.
  void SetLevelErrorHandler(std::function<void(const QString&)> handler);
  /// The folder levels load from; the game's own levels folder unless a tool
  /// or a test names another.
  void SetLevelsPath(const QString& path);
  const QString& GetLevelsPath() const { return m_levelsPath; }

  View* GetView() const { return m_view; }
  Scene* GetScene() const { return m_scene; }
  GameMenuScene* GetMenuScene() const { return m_menuScene; }
  QGraphicsScene* GetHelpScene() const { return m_helpScene; }
  InputHandler* GetInputHandler() const { return m_currentInputHandler; }
  GameInputHandler* GetGameInputHandler() const { return m_gameInputHandler; }
  /// The level being played; empty before the first level loaded.
  const QString& GetLevelName() const { return m_levelName; }
  const QString& GetStartLevelName() const { return m_startLevelName; }
  const QString& GetLastVisitedLevel() const { return m_lastVisitedLevel; }
  const QStringList& GetVisitedLevels() const { return m_visitedLevels; }
  /// True while the game tick runs, that is while the level is shown.
  bool IsTicking() const { return m_timer.isActive(); }
  /// Milliseconds left before a dead player's level restarts; 0 when none.
  int GetAutoRestartCountdownMs() const { return m_autoRestartCountdownMs; }
  int GetRestartCount() const { return m_restartCount; }
  bool IsLevelOverviewRunning() const;

public slots:
  void switchToGame();
  void switchToMenu();
  void switchToHelp();

private slots:
  void pickUpItem();
  void moveUp();
  void moveDown();
  void moveLeft();
  void moveRight();
  void jump();
  void startNewGame();
  void startLastVisitedLevel();
  void showLevels();
  /// Applies and keeps the volumes, in percent.
  void setVolumes(int musicPercent, int effectsPercent);
  void resetLevel();
  void centerCameraOnPlayer(QPointF position);
  void saveLastObject(int id);
  void loadObject(int id, QPointF atPosition);
  void setDrawingCursor();
  void resetCursor();
  void updateHUD();
  void onGameOver();
  void startLevel(QString levelName);
  void enterCutscene();
  void exitCutscene();
  void pause();
  void resume();
  void advance();
  void playCurrentTrack();
  void displayCurrentTrackName();
  void onMediaStatusChanged(QMediaPlayer::MediaStatus status);

private:
  /// Made on first use (owned by the manager).
  QMediaPlayer* musicPlayer();
  void loadLevel(const QString& name);
  void setupObjectCreator();
  void setupMaterials();
  void setupStickmanPrototype();
  void setupSounds();
  void setupTimer();
  void establishMenuConnections();
  void establishHelpConnections();
  void establishGameConnections();
  void setupGame();
  void establishPlayerStickmanConnections(Stickman* player);
  void restartCurrentLevel(bool playStartCutscene);
  void giveLevelOverview();
  void markLevelAsVisited(const QString& name);
  void loadStartLevelName();
  void loadVisitedLevelNames();
  void setupCursors();
  void setupHelpScene();
  void startGameFromLevel(const QString& name);
  void move(Direction direction);
  /// Tells the menu which level "Resume playing" and a new game are about.
  void updateMenuProgress();

  // Ladder control.
  void climbUp(Stickman* stickman);
  void climbDown(Stickman* stickman);
  Ladder* grabLadder(Stickman* stickman, bool goingUp, bool goingDown);
  bool tryLeaveLadder(Stickman* stickman, Ladder* ladder);
  void standGroundFromLadder(const QRectF& ground, Stickman* stickman);
  bool tryChangeLadder(Stickman* stickman, Ladder* ladder, Direction direction);

  /// Null when the index names no track of the level.
  const Level::Track* getCurrentTrack() const;
  bool isLevelShown() const;
  /// The player stickman when there is one and it is alive.
  Stickman* livingPlayer() const;

  QWidget* m_widget;
  Level m_level;
  Scene* m_scene;
  View* m_view;
  std::unique_ptr<Materials> m_materials;
  ObjectCreator* m_objectCreator;
  SoundManager* m_soundManager;
  std::unique_ptr<Stickman> m_stickmanPrototype;
  QCursor m_normalCursor;
  QCursor m_drawingCursor;
  GameMenuScene* m_menuScene;
  QGraphicsScene* m_helpScene;
  bool m_gameStarted = false;
  QPointF m_cameraCenter;
  QTransform m_gameViewTransform;
  GameInputHandler* m_gameInputHandler;
  MenuInputHandler* m_menuInputHandler;
  AnyKeyInputHandler* m_helpInputHandler;
  GameOverInputHandler* m_gameOverInputHandler;
  CutsceneInputHandler* m_cutsceneInputHandler;
  int m_cutsceneDepth = 0;
  int m_restartCount = 0;
  InputHandler* m_resumeInputHandler;
  InputHandler* m_currentInputHandler;
  std::unique_ptr<LevelOverviewer> m_levelOverviewer;
  GameClock m_timer;
  int m_autoRestartCountdownMs = 0;
  int m_subtitleCountdownMs = 0;
  QMediaPlayer* m_musicPlayer = nullptr;
  int m_musicVolumePercent = 100;
  int m_currentTrackIndex = 0;
  QString m_startLevelName;
  QStringList m_visitedLevels;
  QString m_lastVisitedLevel;

  QString m_levelName;
  QString m_levelsPath;
  bool m_menuPainted = false;
  std::function<void(const QString&)> m_levelErrorHandler;
  /// Set by BRISVEL_RECORD; null otherwise.
  std::unique_ptr<InputRecorder> m_recorder;
};
