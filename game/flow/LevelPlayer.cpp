#include "LevelPlayer.h"

#include "GameInputHandler.h"
#include "GameMenuScene.h"
#include "GeneralManager.h"
#include "GraphicsButton.h"
#include "View.h"

#include "common/GlobalConstants.h"
#include "world/Ladder.h"
#include "world/Scene.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <limits>

namespace
{
Qt::KeyboardModifier modifierOf(int key)
{
  switch (key)
  {
  case Qt::Key_Control:
    return Qt::ControlModifier;
  case Qt::Key_Shift:
    return Qt::ShiftModifier;
  case Qt::Key_Alt:
    return Qt::AltModifier;
  default:
    return Qt::NoModifier;
  }
}

const char* outcomeWord(LevelPlayer::Outcome outcome)
{
  switch (outcome)
  {
  case LevelPlayer::Finished:
    return "finished";
  case LevelPlayer::Killed:
    return "killed";
  case LevelPlayer::Playing:
    break;
  }
  return "timeout";
}
} // namespace

LevelPlayer::LevelPlayer(QWidget* window, GeneralManager* manager) : m_window(window), m_manager(manager)
{
  m_manager->SetManualTicks();
  // Held keys repeat on game time here (repeatHeldKeys), never on the clock.
  m_manager->GetGameInputHandler()->findChild<QTimer*>()->setInterval(std::numeric_limits<int>::max());
  m_manager->SetLevelErrorHandler([this](const QString& message) { m_levelError = message; });
  Scene* scene = m_manager->GetScene();
  // Connected before the manager's own connections: the outcome is recorded
  // before the manager moves on to the next level.
  connect(scene, &Scene::levelFinished, this, &LevelPlayer::finish);
  const auto killed = [this] {
    if (m_outcome == Playing)
      m_outcome = Killed;
  };
  connect(scene, &Scene::playerKilled, this, killed);
  connect(scene, &Scene::vipKilled, this, killed);
}

LevelPlayer::~LevelPlayer() = default;

bool LevelPlayer::Start(const QString& level, QString* error)
{
  restart(level);
  m_manager->PlayLevel(level);
  return started(error);
}

bool LevelPlayer::StartFromMenu(const QString& level, QString* error)
{
  restart(level);
  if (!ClickMenuButton(QStringLiteral("Resume")) && !ClickMenuButton(QStringLiteral("Start new game")))
  {
    *error = QStringLiteral("the menu offers no game to start");
    return false;
  }
  return started(error);
}

void LevelPlayer::restart(const QString& level)
{
  m_level = level;
  m_nextLevel.clear();
  m_levelError.clear();
  m_outcome = Playing;
  m_frameAtOutcome = QImage();
  m_ticks = 0;
  m_repeatElapsedMs = 0;
}

bool LevelPlayer::started(QString* error) const
{
  if (m_levelError.isEmpty() && m_manager->GetLevelName() == m_level && m_manager->IsTicking())
    return true;
  *error = m_levelError.isEmpty() ? QStringLiteral("level %1 did not start").arg(m_level) : m_levelError;
  return false;
}

void LevelPlayer::Tick()
{
  if (!m_manager->IsTicking())
    return;
  repeatHeldKeys();
  m_manager->Tick();
  // What the event loop would do between ticks: posted events and deferred deletes.
  QCoreApplication::sendPostedEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  // A shown window also takes what its window system sends (exposure, closing);
  // the script is its only input.
  if (m_window->isVisible())
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  ++m_ticks;
  // The last level leads nowhere: no level change announces its end.
  const Level::FinishArea* area = m_manager->GetScene()->GetFinishAreaReached();
  if (m_outcome == Playing && area && area->nextLevel.isEmpty())
    finish(QString());
  paintFrame();
}

void LevelPlayer::Replay(const QList<InputScript::Event>& events, int untilTicks)
{
  int next = 0;
  while (m_outcome == Playing && m_ticks < untilTicks)
  {
    while (next < events.size() && events[next].tick <= m_ticks)
      Send(events[next++]);
    const int before = m_ticks;
    Tick();
    if (m_ticks == before && !ClickMenuButton(QStringLiteral("Continue")))
      return;
  }
}

void LevelPlayer::finish(const QString& nextLevel)
{
  if (m_outcome == Finished)
    return;
  m_outcome = Finished;
  m_nextLevel = nextLevel;
  // After a level change the manager goes on to the next level right after this.
  m_objectsAtOutcome = CountObjects();
  m_frameAtOutcome = Render();
}

void LevelPlayer::Send(const InputScript::Event& event)
{
  switch (event.type)
  {
  case InputScript::Event::Press:
    PressKey(event.key, event.modifiers);
    break;
  case InputScript::Event::Release:
    ReleaseKey(event.key, event.modifiers);
    break;
  case InputScript::Event::Stroke:
    Stroke(event.points);
    break;
  case InputScript::Event::Click:
    Click(event.points.value(0), event.button);
    break;
  }
}

void LevelPlayer::PressKey(int key, Qt::KeyboardModifiers modifiers)
{
  m_heldModifiers |= modifierOf(key);
  QKeyEvent event(QEvent::KeyPress, key, modifiers | m_heldModifiers);
  deliver(&event);
}

void LevelPlayer::ReleaseKey(int key, Qt::KeyboardModifiers modifiers)
{
  m_heldModifiers &= ~modifierOf(key);
  QKeyEvent event(QEvent::KeyRelease, key, modifiers | m_heldModifiers);
  deliver(&event);
}

void LevelPlayer::Click(QPointF scenePos, Qt::MouseButton button)
{
  mouse(QEvent::MouseButtonPress, scenePos, button, button, m_heldModifiers);
  mouse(QEvent::MouseButtonRelease, scenePos, button, Qt::NoButton, m_heldModifiers);
}

void LevelPlayer::Stroke(const QPolygonF& scenePoints, int ticksBetweenPoints)
{
  if (scenePoints.size() < 2)
    return;
  const bool holdControl = !(m_heldModifiers & Qt::ControlModifier);
  if (holdControl)
    PressKey(Qt::Key_Control);
  const Qt::KeyboardModifiers modifiers = m_heldModifiers | Qt::ControlModifier;
  mouse(QEvent::MouseButtonPress, scenePoints.first(), Qt::LeftButton, Qt::LeftButton, modifiers);
  for (int i = 1; i + 1 < scenePoints.size(); ++i)
  {
    for (int tick = 0; tick < ticksBetweenPoints; ++tick)
      Tick();
    mouse(QEvent::MouseMove, scenePoints[i], Qt::NoButton, Qt::LeftButton, modifiers);
  }
  mouse(QEvent::MouseButtonRelease, scenePoints.last(), Qt::LeftButton, Qt::NoButton, modifiers);
  if (holdControl)
    ReleaseKey(Qt::Key_Control);
}

void LevelPlayer::ClickWindow(QPoint windowPos)
{
  QMouseEvent press(QEvent::MouseButtonPress, windowPos, Qt::LeftButton, Qt::LeftButton, m_heldModifiers);
  deliver(&press);
  QMouseEvent release(QEvent::MouseButtonRelease, windowPos, Qt::LeftButton, Qt::NoButton, m_heldModifiers);
  deliver(&release);
}

bool LevelPlayer::ClickMenuButton(const QString& label)
{
  if (m_manager->GetView()->scene() != m_manager->GetMenuScene())
    return false;
  for (QGraphicsItem* item : m_manager->GetMenuScene()->items())
  {
    GraphicsButton* button = GraphicsButton::FromItem(item);
    if (button && button == item && button->isVisible() && button->GetText().startsWith(label))
    {
      ClickWindow(m_manager->GetView()->mapFromScene(button->sceneBoundingRect().center()));
      return true;
    }
  }
  return false;
}

int LevelPlayer::CountObjects() const
{
  const Scene* scene = m_manager->GetScene();
  int count = scene->GetObjects().size();
  for (const Ladder* ladder : scene->GetLaddersIntersectingRect(scene->sceneRect()))
    if (!ladder->GetObject())
      ++count;
  return count;
}

int LevelPlayer::GetFinalObjectCount() const
{
  return m_outcome == Finished ? m_objectsAtOutcome : CountObjects();
}

QImage LevelPlayer::GetFinalFrame() const
{
  return m_outcome == Finished ? m_frameAtOutcome : Render();
}

QString LevelPlayer::GetOutcomeLine() const
{
  return QStringLiteral("outcome %1 level %2 next %3 ticks %4 objects %5")
      .arg(QLatin1String(outcomeWord(m_outcome)), m_level, m_nextLevel.isEmpty() ? QStringLiteral("-") : m_nextLevel)
      .arg(m_ticks)
      .arg(GetFinalObjectCount());
}

QImage LevelPlayer::Render() const
{
  QImage image(m_window->size(), QImage::Format_ARGB32_Premultiplied);
  paint(&image);
  return image;
}

void LevelPlayer::paintFrame()
{
  if (!m_rendering)
    return;
  if (m_window->isVisible())
  {
    m_window->repaint();
    return;
  }
  if (m_frame.size() != m_window->size())
    m_frame = QImage(m_window->size(), QImage::Format_ARGB32_Premultiplied);
  paint(&m_frame);
}

// As the OpenGL window paints: antialiased, pictures scaled smoothly.
void LevelPlayer::paint(QImage* image) const
{
  image->fill(Qt::white);
  QPainter painter(image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  m_manager->Render(&painter);
}

void LevelPlayer::repeatHeldKeys()
{
  // The game handler repeats held keys every 100 ms; here the ticks are the clock.
  QTimer* repeat = m_manager->GetGameInputHandler()->findChild<QTimer*>();
  if (!repeat || !repeat->isActive())
  {
    m_repeatElapsedMs = 0;
    return;
  }
  m_repeatElapsedMs += bv::TickIntervalMs;
  if (m_repeatElapsedMs >= GameInputHandler::RepeatIntervalMs)
  {
    m_repeatElapsedMs -= GameInputHandler::RepeatIntervalMs;
    QMetaObject::invokeMethod(repeat, "timeout", Qt::DirectConnection);
  }
}

void LevelPlayer::mouse(QEvent::Type type, QPointF scenePos, Qt::MouseButton button, Qt::MouseButtons buttons,
                        Qt::KeyboardModifiers modifiers)
{
  QMouseEvent event(type, toWindow(scenePos), button, buttons, modifiers);
  deliver(&event);
}

// The window takes each input event and is painted after it, as an event loop
// taking a person's input does: a drawing is seen while it is drawn.
void LevelPlayer::deliver(QEvent* event)
{
  QCoreApplication::sendEvent(m_window, event);
  paintFrame();
}

QPoint LevelPlayer::toWindow(QPointF scenePos) const
{
  return m_manager->GetView()->mapFromScene(scenePos);
}
