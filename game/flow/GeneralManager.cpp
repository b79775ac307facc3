#include "GeneralManager.h"

#include "AnyKeyInputHandler.h"
#include "CutsceneInputHandler.h"
#include "GameInputHandler.h"
#include "GameMenuScene.h"
#include "GameOverInputHandler.h"
#include "HUD.h"
#include "InputRecorder.h"
#include "LevelOverviewer.h"
#include "MallocTuning.h"
#include "MenuInputHandler.h"
#include "View.h"

#include "audio/SoundManager.h"
#include "common/FilePaths.h"
#include "common/GlobalConstants.h"
#include "stickman/Stickman.h"
#include "world/Ladder.h"
#include "world/Materials.h"
#include "world/Object.h"
#include "world/ObjectCreator.h"
#include "world/Scene.h"
#include "world/Vehicle.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QKeyEvent>
#include <QLoggingCategory>
#include <QMap>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QSettings>
#include <QTextStream>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include <unistd.h>

namespace
{
Q_LOGGING_CATEGORY(lcManager, "bv.flow.manager")
// Off unless asked for ("bv.startup.info=true"): the start-up benchmark waits for it.
Q_LOGGING_CATEGORY(lcStartup, "bv.startup", QtWarningMsg)

constexpr double LevelSizeM = 100;
const char DefaultStartLevel[] = "sea_shore";
const char VisitedLevelsGroup[] = "visited_levels";
const char LastVisitedLevelKey[] = "last_visited_level";
const char MusicVolumeKey[] = "music_volume";
const char EffectsVolumeKey[] = "effects_volume";
const char ComposerCredit[] = "</i></b> by the Brisvel musicians";

/// The vehicle \a stickman rides; null when it holds none.
Vehicle* getStickmanVehicle(const Stickman* stickman)
{
  return dynamic_cast<Vehicle*>(stickman->GetGrabbedItem());
}

std::runtime_error fileError(const char* text, const QString& path)
{
  return std::runtime_error(QCoreApplication::translate("GeneralManager", text).arg(path).toStdString());
}

// GStreamer's automatic audio output tries PulseAudio first; without a
// PulseAudio server that try fails with an uncategorised "Warning: Failed to
// connect: Connection refused" from the multimedia back end before it goes on
// to the next output. With no server to reach it need not try.
void skipPulseAudioWithoutServer()
{
  if (qEnvironmentVariableIsSet("PULSE_SERVER") || qEnvironmentVariableIsSet("GST_PLUGIN_FEATURE_RANK"))
    return;
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR", QStringLiteral("/run/user/%1").arg(getuid()));
  if (QFileInfo::exists(runtime + QStringLiteral("/pulse/native")))
    return;
  qCDebug(lcManager) << "No PulseAudio server at" << runtime << "- the music goes to another audio output";
  qputenv("GST_PLUGIN_FEATURE_RANK", "pulsesink:NONE");
}

// The title a level file gives itself, or its name when it gives none.
QString levelTitle(const QString& levelsPath, const QString& name)
{
  QFile file(levelsPath + QLatin1Char('/') + name + QStringLiteral(".xml"));
  if (file.open(QIODevice::ReadOnly))
  {
    QXmlStreamReader xml(&file);
    if (xml.readNextStartElement() && xml.name() == QLatin1String("level"))
    {
      const QString title = xml.attributes().value(QLatin1String("title")).toString();
      if (!title.isEmpty())
        return title;
    }
  }
  return name;
}

// A level's painted pictures at a quarter of their size, the foreground over
// the background, on paper where the level has no picture.
QImage levelPicture(const Level& level)
{
  constexpr double Scale = 0.25;
  const QSizeF sizePx = level.GetSize() * bv::PixelsPerMeter * Scale;
  QImage picture(sizePx.toSize().expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
  picture.fill(QColor(244, 239, 226));
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.scale(Scale, Scale);
  painter.drawImage(QPointF(0, 0), level.GetBackgroundImage());
  for (const Level::ForegroundRegion& region : level.GetForegroundRegions())
    painter.drawImage(region.position, region.image);
  return picture;
}

int cleatsBetweenHandAndFoot()
{
  return bv::CleatsDistanceBetweenStickmanUpperHandAndLowerFoot;
}

int footCleat(const Stickman* stickman, const Ladder* ladder)
{
  return ladder->GetClosestCleatIndex(stickman->pos().y());
}

QRectF ladderRect(const Ladder* ladder)
{
  return ladder->GetItem()->sceneBoundingRect();
}
} // namespace

GeneralManager::GeneralManager(QWidget* widget, QObject* parent)
    : QObject(parent), m_widget(widget), m_level(QSizeF(LevelSizeM, LevelSizeM)), m_scene(new Scene(this)),
      m_view(new View(widget)), m_materials(new Materials), m_objectCreator(new ObjectCreator(this)),
      m_soundManager(new SoundManager(this)), m_stickmanPrototype(new Stickman(nullptr, nullptr, nullptr)),
      m_menuScene(new GameMenuScene(this)), m_helpScene(new QGraphicsScene(this)),
      m_gameInputHandler(new GameInputHandler(this)), m_menuInputHandler(new MenuInputHandler(this)),
      m_helpInputHandler(new AnyKeyInputHandler(this)), m_gameOverInputHandler(new GameOverInputHandler(this)),
      m_cutsceneInputHandler(new CutsceneInputHandler(this)), m_resumeInputHandler(m_gameInputHandler),
      m_currentInputHandler(m_menuInputHandler), m_levelOverviewer(new LevelOverviewer),
      m_levelsPath(::GetLevelsPath())
{
  m_view->setParent(this);
  m_levelErrorHandler = [this](const QString& message) {
    QMessageBox::critical(m_widget, QString(), message, QMessageBox::Ok);
  };
  const QString recordPath = qEnvironmentVariable("BRISVEL_RECORD");
  if (!recordPath.isEmpty())
    m_recorder.reset(new InputRecorder(recordPath));

  QElapsedTimer clock;
  clock.start();
  const auto stage = [&clock](const char* name) { qCInfo(lcStartup) << name << "after" << clock.elapsed() << "ms"; };
  loadStartLevelName();
  loadVisitedLevelNames();
  setupCursors();
  m_menuScene->Init(m_lastVisitedLevel.isEmpty() ? GameMenuScene::NoSession : GameMenuScene::LastSession);
  updateMenuProgress();
  setupHelpScene();
  stage("menu and help built");
  setupSounds();
  {
    QSettings settings;
    setVolumes(settings.value(MusicVolumeKey, 100).toInt(), settings.value(EffectsVolumeKey, 100).toInt());
  }
  stage("sounds loaded");
  setupMaterials();
  setupObjectCreator();
  stage("recognition database and objects loaded");
  setupStickmanPrototype();
  stage("stickman loaded");
  setupTimer();
  establishMenuConnections();
  establishHelpConnections();
  connect(m_gameOverInputHandler, &GameOverInputHandler::goToMenu, this, &GeneralManager::switchToMenu);
  connect(m_cutsceneInputHandler, &CutsceneInputHandler::goToMenu, this, &GeneralManager::switchToMenu);
  connect(m_cutsceneInputHandler, &CutsceneInputHandler::skipCutsceneCue, m_scene, &Scene::SkipCutsceneCue);
  m_levelOverviewer->Init(m_view, m_scene);
  switchToMenu();
}

// The scene's stickmen are built from the prototype and its objects refer to
// the materials: the scene is emptied before they go.
GeneralManager::~GeneralManager()
{
  m_view->setScene(nullptr);
  delete m_scene;
}

void GeneralManager::Render(QPainter* painter)
{
  m_view->render(painter);
  if (!m_menuPainted && m_view->scene() == m_menuScene)
  {
    m_menuPainted = true;
    qCInfo(lcStartup) << "first menu frame painted";
    // Loading the multimedia back end takes seconds on some systems: the menu
    // shows first and the music player is made right after.
    QTimer::singleShot(0, this, &GeneralManager::musicPlayer);
  }
}

void GeneralManager::keyPressEvent(QKeyEvent* event)
{
  if (m_recorder && isLevelShown())
    m_recorder->KeyPress(event);
  m_currentInputHandler->keyPressEvent(event);
}

void GeneralManager::keyReleaseEvent(QKeyEvent* event)
{
  if (m_recorder && isLevelShown())
    m_recorder->KeyRelease(event);
  m_currentInputHandler->keyReleaseEvent(event);
}

void GeneralManager::mousePressEvent(QMouseEvent* event)
{
  const QPointF scenePos = m_view->mapToScene(event->localPos().toPoint());
  if (m_recorder && isLevelShown())
    m_recorder->MousePress(event, scenePos);
  m_currentInputHandler->mousePressEvent(event, scenePos);
}

void GeneralManager::mouseReleaseEvent(QMouseEvent* event)
{
  const QPointF scenePos = m_view->mapToScene(event->localPos().toPoint());
  if (m_recorder && isLevelShown())
    m_recorder->MouseRelease(event, scenePos);
  m_currentInputHandler->mouseReleaseEvent(event, scenePos);
}

void GeneralManager::mouseMoveEvent(QMouseEvent* event)
{
  const QPointF scenePos = m_view->mapToScene(event->localPos().toPoint());
  if (m_recorder && isLevelShown())
    m_recorder->MouseMove(event, scenePos);
  m_currentInputHandler->mouseMoveEvent(event, scenePos);
}

void GeneralManager::resizeEvent(QResizeEvent*)
{
  if (m_view->scene() == m_menuScene)
    m_view->fitInView(m_menuScene->sceneRect(), Qt::KeepAspectRatio);
  else if (isLevelShown())
    updateHUD();
}

void GeneralManager::SetInputHandler(InputHandler* handler)
{
  m_currentInputHandler->Stop();
  m_currentInputHandler = handler;
  m_currentInputHandler->Start();
}

void GeneralManager::PlayLevel(const QString& levelName)
{
  startGameFromLevel(levelName);
}

void GeneralManager::SetManualTicks()
{
  m_timer.SetManual();
}

void GeneralManager::SetLevelErrorHandler(std::function<void(const QString&)> handler)
{
  m_levelErrorHandler = std::move(handler);
}

bool GeneralManager::IsLevelOverviewRunning() const
{
  return m_levelOverviewer->IsRunning();
}

void GeneralManager::switchToGame()
{
  // Before a level has loaded there is no game to show: the scene was never
  // built and must not run.
  if (isLevelShown() || m_levelName.isEmpty())
    return;
  m_view->setScene(m_scene);
  if (!m_levelOverviewer->IsRunning())
  {
    m_view->setTransform(m_gameViewTransform);
    m_view->centerOn(m_cameraCenter);
  }
  else
  {
    m_levelOverviewer->UpdateViewTransform();
  }
  m_widget->setCursor(m_normalCursor);
  m_timer.start();
  SetInputHandler(m_resumeInputHandler);
  m_view->update();
  m_widget->setAttribute(Qt::WA_MouseTracking, false);
}

void GeneralManager::switchToMenu()
{
  if (m_view->scene() == m_menuScene)
    return;
  if (isLevelShown())
  {
    m_timer.stop();
    if (!m_levelOverviewer->IsRunning())
      m_gameViewTransform = m_view->transform();
  }
  m_view->setScene(m_menuScene);
  m_menuScene->ShowMainPage();
  m_view->fitInView(m_menuScene->sceneRect(), Qt::KeepAspectRatio);
  m_widget->setCursor(m_drawingCursor);
  m_menuInputHandler->SetScene(m_menuScene);
  SetInputHandler(m_menuInputHandler);
  m_view->update();
  m_widget->setAttribute(Qt::WA_MouseTracking, true);
}

void GeneralManager::switchToHelp()
{
  if (m_view->scene() == m_helpScene)
    return;
  m_view->setScene(m_helpScene);
  m_view->fitInView(m_helpScene->sceneRect(), Qt::KeepAspectRatio);
  m_widget->setCursor(m_normalCursor);
  SetInputHandler(m_helpInputHandler);
  m_view->update();
  m_widget->setAttribute(Qt::WA_MouseTracking, false);
}

void GeneralManager::pickUpItem()
{
  Stickman* player = livingPlayer();
  if (!player || player->IsOnLadder())
    return;
  if (Object* object = m_scene->GetObjectToPickUp(player))
    player->GrabItem(object->GetGrabable());
  else if (player->GetGrabbedItem())
    player->DropItem();
  else
    m_scene->DisplayComment(tr("There is nothing here I could pick up."));
}

void GeneralManager::moveUp()
{
  Stickman* player = m_scene->GetPlayer();
  if (!player)
    return;
  if (Vehicle* vehicle = getStickmanVehicle(player))
    vehicle->Move(Up);
  else
    climbUp(player);
}

void GeneralManager::moveDown()
{
  Stickman* player = m_scene->GetPlayer();
  if (!player)
    return;
  if (Vehicle* vehicle = getStickmanVehicle(player))
    vehicle->Move(Down);
  else
    climbDown(player);
}

void GeneralManager::moveLeft()
{
  move(Left);
}

void GeneralManager::moveRight()
{
  move(Right);
}

void GeneralManager::jump()
{
  if (Stickman* player = m_scene->GetPlayer())
    player->Jump();
}

void GeneralManager::startNewGame()
{
  startGameFromLevel(m_startLevelName);
}

void GeneralManager::startLastVisitedLevel()
{
  startGameFromLevel(m_lastVisitedLevel);
}

// The levels reached so far, in the order the game chains them from the first
// level, then any other; a level that no longer loads is left out.
void GeneralManager::showLevels()
{
  QMap<QString, GameMenuScene::LevelCard> cards;
  QMap<QString, QStringList> nextLevels;
  for (const QString& name : m_visitedLevels)
  {
    Level level(QSizeF(LevelSizeM, LevelSizeM));
    if (!Level::IsLevelName(name) || !level.Load(m_levelsPath + QLatin1Char('/') + name + QStringLiteral(".xml")))
      continue;
    cards[name] = {name, level.GetTitle().isEmpty() ? name : level.GetTitle(), levelPicture(level)};
    for (const Level::FinishArea& area : level.GetFinishAreas())
      nextLevels[name] << area.nextLevel;
  }
  QStringList order{m_startLevelName};
  for (int i = 0; i < order.size(); ++i)
    for (const QString& next : nextLevels.value(order[i]))
      if (!order.contains(next))
        order << next;
  order << m_visitedLevels;
  order.removeDuplicates();
  QList<GameMenuScene::LevelCard> shown;
  for (const QString& name : order)
    if (cards.contains(name))
      shown << cards[name];
  m_menuScene->ShowLevels(shown);
}

void GeneralManager::setVolumes(int musicPercent, int effectsPercent)
{
  m_menuScene->SetVolumes(musicPercent, effectsPercent);
  m_musicVolumePercent = std::clamp(musicPercent, 0, 100);
  m_soundManager->SetMasterVolume(std::clamp(effectsPercent, 0, 100) / 100.0);
  if (m_musicPlayer)
    m_musicPlayer->setVolume(m_musicVolumePercent);
  QSettings settings;
  settings.setValue(MusicVolumeKey, m_musicVolumePercent);
  settings.setValue(EffectsVolumeKey, std::clamp(effectsPercent, 0, 100));
}

void GeneralManager::SetLevelsPath(const QString& path)
{
  m_levelsPath = path;
  // The menu names the level to resume by the title its file gives.
  updateMenuProgress();
}

void GeneralManager::updateMenuProgress()
{
  const QString title = m_lastVisitedLevel.isEmpty() ? QString() : levelTitle(m_levelsPath, m_lastVisitedLevel);
  m_menuScene->SetResumeLevel(title);
  m_menuScene->SetProgressToLose(m_lastVisitedLevel == m_startLevelName ? QString() : title);
}

void GeneralManager::resetLevel()
{
  m_widget->setCursor(Qt::WaitCursor);
  m_resumeInputHandler = m_gameInputHandler;
  switchToGame();
  SetInputHandler(m_gameInputHandler);
  m_timer.stop();
  m_objectCreator->Abort();
  m_scene->GetHUD()->ShowMessage(tr("Restarting level..."));
  QCoreApplication::processEvents();
  restartCurrentLevel(m_restartCount < 1);
  m_timer.start();
  m_widget->setCursor(m_normalCursor);
  ++m_restartCount;
}

void GeneralManager::centerCameraOnPlayer(QPointF position)
{
  m_cameraCenter = QPointF(position.x(), position.y() - 0.5 * bv::StickmanHeightPx);
  m_view->centerOn(m_cameraCenter);
  updateHUD();
}

void GeneralManager::saveLastObject(int id)
{
  const QString folder = GetUserDataPath();
  // A folder that cannot be made fails the save, if there is anything to save.
  if (!folder.isEmpty())
    QDir().mkpath(folder);
  if (folder.isEmpty() || !m_objectCreator->SaveLastObject(folder + QStringLiteral("/%1.obj").arg(id)))
  {
    qCWarning(lcManager) << "Cannot save object" << id << "in" << folder;
    m_scene->DisplayComment(tr("I couldn't save that as object %1.").arg(id));
  }
}

void GeneralManager::loadObject(int id, QPointF atPosition)
{
  // The player's own objects first, then those shipped beside the program.
  const QString name = QStringLiteral("/%1.obj").arg(id);
  const QString folder = GetUserDataPath();
  const bool own = !folder.isEmpty() && QFileInfo::exists(folder + name);
  m_objectCreator->LoadObject((own ? folder : GetDataRootPath()) + name, atPosition);
}

void GeneralManager::setDrawingCursor()
{
  m_widget->setCursor(m_drawingCursor);
}

void GeneralManager::resetCursor()
{
  m_widget->setCursor(m_normalCursor);
}

void GeneralManager::updateHUD()
{
  m_scene->GetHUD()->UpdateFromView(m_widget->size(), m_view->transform());
}

void GeneralManager::onGameOver()
{
  m_resumeInputHandler = m_gameOverInputHandler;
  if (isLevelShown())
    SetInputHandler(m_gameOverInputHandler);
  m_autoRestartCountdownMs = static_cast<int>(1000 * bv::SecondsToAutoRestart);
}

void GeneralManager::startLevel(QString levelName)
{
  if (levelName.isEmpty())
    return;
  const QPixmap screenshot = m_view->makeScreenshot();
  const Level::Track* oldTrack = getCurrentTrack();
  const QString oldTrackName = oldTrack ? oldTrack->name : QString();
  exitCutscene();
  try
  {
    loadLevel(levelName);
  }
  catch (const std::runtime_error& error)
  {
    // The game goes on from the menu; the level shown before stays as it was.
    qCWarning(lcManager) << error.what();
    switchToMenu();
    m_levelErrorHandler(QString::fromStdString(error.what()));
    return;
  }
  m_levelName = levelName;
  if (m_recorder)
    m_recorder->StartLevel(levelName);
  restartCurrentLevel(true);
  switchToGame();
  giveLevelOverview();

  m_currentTrackIndex = 0;
  const QList<Level::Track>& tracks = m_level.GetMusicTracks();
  bool sameTrack = false;
  for (int i = 0; i < tracks.size() && !oldTrackName.isEmpty(); ++i)
    if (tracks[i].name == oldTrackName)
    {
      m_currentTrackIndex = i;
      sameTrack = true;
      break;
    }
  if (!sameTrack)
    musicPlayer()->stop();

  m_scene->TurnThePage(screenshot, m_view->mapToScene(QPoint(0, 0)));
  m_restartCount = 0;

  QSettings settings;
  settings.beginGroup(VisitedLevelsGroup);
  settings.setValue(levelName, true);
  settings.endGroup();
  settings.setValue(LastVisitedLevelKey, levelName);
  markLevelAsVisited(levelName);
  m_lastVisitedLevel = levelName;
  updateMenuProgress();
}

void GeneralManager::enterCutscene()
{
  m_resumeInputHandler = m_cutsceneInputHandler;
  if (isLevelShown())
    SetInputHandler(m_cutsceneInputHandler);
  ++m_cutsceneDepth;
}

void GeneralManager::exitCutscene()
{
  if (m_cutsceneDepth - 1 < 1)
  {
    m_cutsceneDepth = 0;
    m_resumeInputHandler = m_gameInputHandler;
    if (isLevelShown())
      SetInputHandler(m_gameInputHandler);
  }
  else
  {
    --m_cutsceneDepth;
  }
}

void GeneralManager::pause()
{
  m_timer.stop();
}

void GeneralManager::resume()
{
  m_timer.start();
}

void GeneralManager::advance()
{
  if (m_recorder)
    m_recorder->Tick();
  m_scene->advance();
  if (m_levelOverviewer->IsRunning())
  {
    m_levelOverviewer->Advance();
    // What is on screen changes with the tour: the HUD and the bubbles follow it.
    updateHUD();
  }
  if (m_autoRestartCountdownMs > 0)
  {
    m_autoRestartCountdownMs -= bv::TickIntervalMs;
    if (m_autoRestartCountdownMs < 1)
      resetLevel();
  }
  if (m_subtitleCountdownMs >= 1)
  {
    m_subtitleCountdownMs -= bv::TickIntervalMs;
    if (m_subtitleCountdownMs <= 0)
      m_scene->GetHUD()->HideSubtitle();
  }
}

void GeneralManager::playCurrentTrack()
{
  const Level::Track* track = getCurrentTrack();
  if (!track)
    return;
  QMediaPlayer* player = musicPlayer();
  if (player->state() == QMediaPlayer::PlayingState && player->position() < player->duration())
    return;
  player->setMedia(QUrl::fromLocalFile(track->path));
  player->play();
}

QMediaPlayer* GeneralManager::musicPlayer()
{
  if (!m_musicPlayer)
  {
    QElapsedTimer clock;
    clock.start();
    skipPulseAudioWithoutServer();
    // The player only ever plays music. Unless told which video outputs to
    // use, Qt's GStreamer back end tries every one the machine has, software
    // OpenGL among them, each time a player is made: seconds of a frozen menu.
    for (const char* variable : {"QT_GSTREAMER_WINDOW_VIDEOSINK", "QT_GSTREAMER_WIDGET_VIDEOSINK"})
      if (qEnvironmentVariableIsEmpty(variable))
        qputenv(variable, "ximagesink");
    m_musicPlayer = new QMediaPlayer(this);
    m_musicPlayer->setVolume(m_musicVolumePercent);
    connect(m_musicPlayer, &QMediaPlayer::mediaStatusChanged, this, &GeneralManager::onMediaStatusChanged);
    qCInfo(lcStartup) << "music player made in" << clock.elapsed() << "ms";
  }
  return m_musicPlayer;
}

void GeneralManager::displayCurrentTrackName()
{
  const Level::Track* track = getCurrentTrack();
  if (!track)
    return;
  m_scene->GetHUD()->ShowSubtitle(QStringLiteral("Playing: <b><i>") + track->name + QLatin1String(ComposerCredit));
  updateHUD();
  m_subtitleCountdownMs = static_cast<int>(1000 * bv::SecondsToHideSubtitle);
}

void GeneralManager::onMediaStatusChanged(QMediaPlayer::MediaStatus status)
{
  if (status != QMediaPlayer::EndOfMedia)
    return;
  const int count = m_level.GetMusicTracks().size();
  if (count == 0)
    return;
  m_currentTrackIndex = (m_currentTrackIndex + 1) % count;
  playCurrentTrack();
  displayCurrentTrackName();
}

void GeneralManager::loadLevel(const QString& name)
{
  if (!Level::IsLevelName(name))
    throw fileError("\"%1\" is not the name of a level", name);
  const QString path = m_levelsPath + QLatin1Char('/') + name + QStringLiteral(".xml");
  if (!m_level.Load(path))
    throw fileError("Level file \"%1\"\nis corrupted or does not exist", path);
}

void GeneralManager::setupObjectCreator()
{
  m_objectCreator->Init(m_scene, m_materials.get(), m_soundManager);
}

void GeneralManager::setupMaterials()
{
  if (!m_materials->Load(GetMaterialsPath()))
    throw fileError("Materials file \"%1\"\nis corrupted or does not exist", GetMaterialsPath());
}

void GeneralManager::setupStickmanPrototype()
{
  if (!m_stickmanPrototype->Load(GetStickmanPath()))
    throw fileError("Stickman data file \"%1\"\nis corrupted or does not exist", GetStickmanPath());
}

void GeneralManager::setupSounds()
{
  m_soundManager->Init(GetSoundsPath());
}

void GeneralManager::setupTimer()
{
  connect(&m_timer, &GameClock::tick, this, &GeneralManager::advance);
}

void GeneralManager::establishMenuConnections()
{
  connect(m_menuScene, &GameMenuScene::resumeGame, this, &GeneralManager::switchToGame);
  connect(m_menuScene, &GameMenuScene::resetLevel, this, &GeneralManager::resetLevel);
  connect(m_menuScene, &GameMenuScene::restoreLastSession, this, &GeneralManager::startLastVisitedLevel);
  connect(m_menuScene, &GameMenuScene::startNewGame, this, &GeneralManager::startNewGame);
  connect(m_menuScene, &GameMenuScene::showHelp, this, &GeneralManager::switchToHelp);
  connect(m_menuScene, &GameMenuScene::quit, m_widget, &QWidget::close);
  connect(m_menuScene, &GameMenuScene::showLevels, this, &GeneralManager::showLevels);
  connect(m_menuScene, &GameMenuScene::volumesChanged, this, &GeneralManager::setVolumes);
  connect(m_menuScene, &GameMenuScene::startLevel, this, &GeneralManager::startGameFromLevel);
}

void GeneralManager::establishHelpConnections()
{
  connect(m_helpInputHandler, &AnyKeyInputHandler::anyKeyPressed, this, &GeneralManager::switchToMenu);
}

void GeneralManager::establishGameConnections()
{
  connect(m_scene, &Scene::playerKilled, this, &GeneralManager::onGameOver);
  connect(m_scene, &Scene::vipKilled, this, &GeneralManager::onGameOver);
  connect(m_scene, &Scene::levelFinished, this, &GeneralManager::startLevel);
  connect(m_scene, &Scene::cutsceneStarted, this, &GeneralManager::enterCutscene);
  connect(m_scene, &Scene::cutsceneFinished, this, &GeneralManager::exitCutscene);
  connect(m_scene, &Scene::pageTurnFinished, this, &GeneralManager::playCurrentTrack);
  connect(m_levelOverviewer.get(), &LevelOverviewer::Finished, this, &GeneralManager::exitCutscene);
  connect(m_levelOverviewer.get(), &LevelOverviewer::Finished, this, &GeneralManager::displayCurrentTrackName);
  connect(m_gameInputHandler, &GameInputHandler::pickUpItem, this, &GeneralManager::pickUpItem);
  connect(m_gameInputHandler, &GameInputHandler::enterDrawingMode, m_objectCreator, &ObjectCreator::Start);
  connect(m_gameInputHandler, &GameInputHandler::exitDrawingMode, m_objectCreator, &ObjectCreator::Finish);
  connect(m_gameInputHandler, &GameInputHandler::enterDrawingMode, this, &GeneralManager::setDrawingCursor);
  connect(m_gameInputHandler, &GameInputHandler::exitDrawingMode, this, &GeneralManager::resetCursor);
  connect(m_gameInputHandler, &GameInputHandler::drawingMoveTo, m_objectCreator, &ObjectCreator::MovePenTo);
  connect(m_gameInputHandler, &GameInputHandler::drawingLineTo, m_objectCreator, &ObjectCreator::DrawLineTo);
  connect(m_gameInputHandler, &GameInputHandler::removeLastStroke, m_objectCreator, &ObjectCreator::RemoveLastStroke);
  connect(m_gameInputHandler, &GameInputHandler::goToMenu, this, &GeneralManager::switchToMenu);
  connect(m_gameInputHandler, &GameInputHandler::moveUp, this, &GeneralManager::moveUp);
  connect(m_gameInputHandler, &GameInputHandler::moveDown, this, &GeneralManager::moveDown);
  connect(m_gameInputHandler, &GameInputHandler::moveRight, this, &GeneralManager::moveRight);
  connect(m_gameInputHandler, &GameInputHandler::moveLeft, this, &GeneralManager::moveLeft);
  connect(m_gameInputHandler, &GameInputHandler::jump, this, &GeneralManager::jump);
  connect(m_gameInputHandler, &GameInputHandler::saveLastObject, this, &GeneralManager::saveLastObject);
  connect(m_gameInputHandler, &GameInputHandler::loadObject, this, &GeneralManager::loadObject);
}

void GeneralManager::setupGame()
{
  establishGameConnections();
  m_view->resetTransform();
  m_gameViewTransform = m_view->transform();
}

void GeneralManager::establishPlayerStickmanConnections(Stickman* player)
{
  connect(m_gameInputHandler, &GameInputHandler::useItem, player, &Stickman::Use);
  connect(player, &Stickman::moved, this, &GeneralManager::centerCameraOnPlayer);
}

void GeneralManager::restartCurrentLevel(bool playStartCutscene)
{
  // A drawing still open is an item of the scene that Init is about to free.
  m_objectCreator->Abort();
  m_scene->Init(m_level, m_materials.get(), m_soundManager, m_stickmanPrototype.get());
  m_scene->LoadObjectsForStickmen(m_objectCreator);
  GiveFreedMemoryBack();
  if (Stickman* player = m_scene->GetPlayer())
  {
    centerCameraOnPlayer(player->pos());
    establishPlayerStickmanConnections(player);
  }
  m_autoRestartCountdownMs = 0;
  m_subtitleCountdownMs = 0;
  if (playStartCutscene && m_level.GetStartCutscene())
    m_scene->PlayCutscene(m_level.GetStartCutscene());
}

void GeneralManager::giveLevelOverview()
{
  if (m_levelOverviewer->IsRunning())
  {
    m_levelOverviewer->Stop();
    m_view->resetTransform();
    m_view->centerOn(m_cameraCenter);
  }
  enterCutscene();
  m_levelOverviewer->Start();
}

void GeneralManager::markLevelAsVisited(const QString& name)
{
  if (!m_visitedLevels.contains(name))
    m_visitedLevels.append(name);
}

void GeneralManager::loadStartLevelName()
{
  m_startLevelName.clear();
  QFile file(GetStartLevelConfigPath());
  if (file.open(QIODevice::ReadOnly | QIODevice::Text))
    m_startLevelName = QTextStream(&file).readLine();
  if (m_startLevelName.isEmpty())
  {
    m_startLevelName = DefaultStartLevel;
    qCDebug(lcManager).nospace().noquote() << "Could not obtain start level name from \"" << file.fileName()
                                 << "\"; defaulting to \"" << m_startLevelName << "\"";
  }
}

void GeneralManager::loadVisitedLevelNames()
{
  QSettings settings;
  settings.beginGroup(VisitedLevelsGroup);
  m_visitedLevels.clear();
  for (const QString& key : settings.childKeys())
    if (settings.value(key, false).toBool())
      m_visitedLevels.append(key);
  settings.endGroup();
  markLevelAsVisited(m_startLevelName);
  m_lastVisitedLevel = settings.value(LastVisitedLevelKey).toString();
  if (!m_lastVisitedLevel.isEmpty() && !Level::IsLevelName(m_lastVisitedLevel))
  {
    qCWarning(lcManager) << "The last visited level" << m_lastVisitedLevel << "in the settings is no level name";
    m_lastVisitedLevel.clear();
  }
  if (m_lastVisitedLevel == m_startLevelName)
    m_lastVisitedLevel.clear();
}

void GeneralManager::setupCursors()
{
  m_normalCursor = m_widget->cursor();
  m_drawingCursor = QCursor(QPixmap(GetDataRootPath() + QStringLiteral("/drawing_cursor.png")), 0, 0);
}

void GeneralManager::setupHelpScene()
{
  const QPixmap picture(GetHelpScreenPath());
  if (!picture.isNull())
  {
    m_helpScene->addPixmap(picture);
    return;
  }
  // Without its picture the help screen still tells the keys, instead of
  // fitting an empty scene into the window.
  qCWarning(lcManager) << "No help picture at" << GetHelpScreenPath();
  QGraphicsSimpleTextItem* text = m_helpScene->addSimpleText(
      tr("Arrows: walk and climb    Return: jump    Shift: pick up or drop    Space: use\n"
         "Hold Control and draw with the mouse: your drawing comes to life    Backspace: take back a line\n"
         "Escape: menu\n\nPress any key"));
  QFont font = text->font();
  font.setPointSize(24);
  text->setFont(font);
  m_helpScene->setSceneRect(text->boundingRect().adjusted(-40, -40, 40, 40));
  m_helpScene->setBackgroundBrush(Qt::white);
}

void GeneralManager::startGameFromLevel(const QString& name)
{
  if (!m_gameStarted)
  {
    setupGame();
    connect(m_menuInputHandler, &MenuInputHandler::resume, this, &GeneralManager::switchToGame);
    m_gameStarted = true;
  }
  startLevel(name);
  // A level that failed to load leaves nothing to continue.
  if (!m_levelName.isEmpty())
    m_menuScene->SetMode(GameMenuScene::GameRunning);
}

void GeneralManager::move(Direction direction)
{
  Stickman* player = m_scene->GetPlayer();
  if (!player)
    return;
  if (Vehicle* vehicle = getStickmanVehicle(player))
  {
    vehicle->Move(direction);
    return;
  }
  if (!player->IsOnLadder())
  {
    player->Move(direction);
    return;
  }
  Ladder* ladder = m_scene->GetLadderBeingClimbed(player);
  if (!ladder)
    return;
  if (tryLeaveLadder(player, ladder))
  {
    if (direction != player->GetFacingDirection())
      player->TurnAround();
  }
  else
  {
    tryChangeLadder(player, ladder, direction);
  }
}

void GeneralManager::climbUp(Stickman* stickman)
{
  if (!stickman->IsOnLadder())
  {
    if (!stickman->IsKilled())
      grabLadder(stickman, true, false);
    return;
  }
  Ladder* ladder = m_scene->GetLadderBeingClimbed(stickman);
  if (!ladder)
    return;
  const int hand = footCleat(stickman, ladder) + cleatsBetweenHandAndFoot() + (stickman->IsClimbUpInProgress() ? 1 : 0);
  if (hand < ladder->GetCleatCount() - 1)
    stickman->ClimbUp();
  else if (!tryLeaveLadder(stickman, ladder))
    tryChangeLadder(stickman, ladder, Up);
}

void GeneralManager::climbDown(Stickman* stickman)
{
  if (!stickman->IsOnLadder())
  {
    if (!stickman->IsKilled())
      grabLadder(stickman, false, true);
    return;
  }
  Ladder* ladder = m_scene->GetLadderBeingClimbed(stickman);
  if (!ladder)
    return;
  const int foot = footCleat(stickman, ladder) - (stickman->IsClimbDownInProgress() ? 1 : 0);
  if (foot >= 0)
    stickman->ClimbDown();
  else if (!tryLeaveLadder(stickman, ladder))
    tryChangeLadder(stickman, ladder, Down);
}

Ladder* GeneralManager::grabLadder(Stickman* stickman, bool goingUp, bool goingDown)
{
  if (stickman->IsKilled())
    return nullptr;
  Ladder* ladder = m_scene->GetLadderToClimb(stickman);
  if (!ladder || ladder->GetCleatCount() < cleatsBetweenHandAndFoot())
    return nullptr;
  int foot = footCleat(stickman, ladder);
  int hand = foot + cleatsBetweenHandAndFoot();
  const int top = ladder->GetCleatCount() - 1;
  if (foot < -1)
  {
    hand = hand - foot - 1;
    foot = -1;
  }
  else if (hand > top)
  {
    foot -= hand - top;
    hand = top;
  }
  if (foot == -1 && !goingUp)
    return nullptr;
  if (hand == top && !goingDown)
    return nullptr;
  stickman->MoveTo(QPointF(ladderRect(ladder).center().x(), ladder->GetCleatY(foot)));
  stickman->GrabLadder();
  centerCameraOnPlayer(stickman->pos());
  m_scene->SetLadderBeingClimbed(stickman, ladder);
  return ladder;
}

bool GeneralManager::tryLeaveLadder(Stickman* stickman, Ladder* ladder)
{
  if (stickman->IsKilled())
    return false;
  const QList<QRectF> grounds = m_scene->GetGroundRegions();
  const QPointF p = stickman->pos();
  const int foot = footCleat(stickman, ladder);
  const auto under = [&p](const QRectF& g) { return g.x() <= p.x() && p.x() <= g.x() + g.width(); };
  for (const QRectF& g : grounds)
    if (std::abs(g.y() - p.y()) <= bv::LadderCleatsDistance && under(g))
    {
      standGroundFromLadder(g, stickman);
      return true;
    }
  if (ladder->GetCleatCount() - 1 <= foot + cleatsBetweenHandAndFoot())
  {
    const QRectF body = stickman->sceneBoundingRect();
    for (const QRectF& g : grounds)
      if (g.intersects(body) && g.y() > ladderRect(ladder).top())
      {
        standGroundFromLadder(g, stickman);
        return true;
      }
  }
  if (foot < 0)
  {
    const double reach = 0.25 * stickman->sceneBoundingRect().height();
    for (const QRectF& g : grounds)
      if (std::abs(g.y() - p.y()) <= reach && under(g))
      {
        standGroundFromLadder(g, stickman);
        return true;
      }
  }
  return false;
}

void GeneralManager::standGroundFromLadder(const QRectF& ground, Stickman* stickman)
{
  stickman->LeaveLadder();
  m_scene->ResetLadderBeingClimbed(stickman);
  stickman->MoveTo(QPointF(stickman->pos().x(), ground.y()));
  centerCameraOnPlayer(stickman->pos());
}

bool GeneralManager::tryChangeLadder(Stickman* stickman, Ladder* ladder, Direction direction)
{
  const QRectF s = stickman->sceneBoundingRect();
  const QRectF r = ladderRect(ladder);
  const double c = bv::LadderCleatsDistance;
  QRectF search;
  switch (direction)
  {
  case Right:
    search = QRectF(r.x() + 0.5 * r.width(), s.y(), 0.6 * r.width(), s.height());
    break;
  case Left:
    search = QRectF(r.x() - 0.1 * r.width(), s.y(), 0.6 * r.width(), s.height());
    break;
  case Up:
    search = QRectF(r.x(), r.y() - c, r.width(), c);
    break;
  case Down:
    search = QRectF(r.x(), r.y() + r.height(), r.width(), c);
    break;
  default:
    return false;
  }
  Ladder* best = nullptr;
  int bestCleat = 0;
  double bestDistance = 1e20;
  for (Ladder* candidate : m_scene->GetLaddersIntersectingRect(search))
  {
    if (candidate == ladder)
      continue;
    const QRectF q = ladderRect(candidate);
    const int f = footCleat(stickman, candidate);
    const bool fits = f + cleatsBetweenHandAndFoot() <= candidate->GetCleatCount() && f >= -1;
    int target = f;
    bool accepted = false;
    switch (direction)
    {
    case Right:
      accepted = q.right() > r.right() && fits;
      break;
    case Left:
      accepted = q.x() < r.x() && fits;
      break;
    case Up:
      accepted = true;
      target = f + 1;
      break;
    default:
      accepted = true;
      target = f - 1;
      break;
    }
    const double distance = std::abs(q.center().x() - r.center().x());
    if (accepted && distance < bestDistance)
    {
      best = candidate;
      bestCleat = target;
      bestDistance = distance;
    }
  }
  if (!best)
    return false;
  stickman->MoveTo(QPointF(ladderRect(best).center().x(), best->GetCleatY(bestCleat)));
  centerCameraOnPlayer(stickman->pos());
  m_scene->SetLadderBeingClimbed(stickman, best);
  return true;
}

const Level::Track* GeneralManager::getCurrentTrack() const
{
  const QList<Level::Track>& tracks = m_level.GetMusicTracks();
  if (m_currentTrackIndex < 0 || m_currentTrackIndex >= tracks.size())
    return nullptr;
  return &tracks[m_currentTrackIndex];
}

bool GeneralManager::isLevelShown() const
{
  return m_view->scene() == m_scene;
}

Stickman* GeneralManager::livingPlayer() const
{
  Stickman* player = m_scene->GetPlayer();
  return player && !player->IsKilled() ? player : nullptr;
}
