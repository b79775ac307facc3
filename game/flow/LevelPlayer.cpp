#include "LevelPlayer.h"

#include "flow/GameInputHandler.h"
#include "flow/GeneralManager.h"
#include "flow/View.h"
#include "world/Ladder.h"
#include "world/Scene.h"

#include "common/GlobalConstants.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

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
} // namespace

LevelPlayer::LevelPlayer(QSize windowSize)
{
  m_window.resize(windowSize);
  m_manager.reset(new GeneralManager(&m_window, nullptr));
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
  m_level = level;
  m_nextLevel.clear();
  m_levelError.clear();
  m_outcome = Playing;
  m_frameAtOutcome = QImage();
  m_ticks = 0;
  m_repeatElapsedMs = 0;
  m_manager->PlayLevel(level);
  if (!m_levelError.isEmpty() || m_manager->GetLevelName() != level)
  {
    *error = m_levelError;
    return false;
  }
  return true;
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
  ++m_ticks;
  // The last level leads nowhere: no level change announces its end.
  const Level::FinishArea* area = m_manager->GetScene()->GetFinishAreaReached();
  if (m_outcome == Playing && area && area->nextLevel.isEmpty())
    finish(QString());
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
  m_manager->keyPressEvent(&event);
}

void LevelPlayer::ReleaseKey(int key, Qt::KeyboardModifiers modifiers)
{
  m_heldModifiers &= ~modifierOf(key);
  QKeyEvent event(QEvent::KeyRelease, key, modifiers | m_heldModifiers);
  m_manager->keyReleaseEvent(&event);
}

void LevelPlayer::Click(QPointF scenePos, Qt::MouseButton button)
{
  mouse(QEvent::MouseButtonPress, scenePos, button, button, m_heldModifiers);
  mouse(QEvent::MouseButtonRelease, scenePos, button, Qt::NoButton, m_heldModifiers);
}

void LevelPlayer::Stroke(const QPolygonF& scenePoints)
{
  if (scenePoints.size() < 2)
    return;
  const bool holdControl = !(m_heldModifiers & Qt::ControlModifier);
  if (holdControl)
    PressKey(Qt::Key_Control);
  const Qt::KeyboardModifiers modifiers = m_heldModifiers | Qt::ControlModifier;
  mouse(QEvent::MouseButtonPress, scenePoints.first(), Qt::LeftButton, Qt::LeftButton, modifiers);
  for (int i = 1; i + 1 < scenePoints.size(); ++i)
    mouse(QEvent::MouseMove, scenePoints[i], Qt::NoButton, Qt::LeftButton, modifiers);
  mouse(QEvent::MouseButtonRelease, scenePoints.last(), Qt::LeftButton, Qt::NoButton, modifiers);
  if (holdControl)
    ReleaseKey(Qt::Key_Control);
}

void LevelPlayer::ClickWindow(QPoint windowPos)
{
  QMouseEvent press(QEvent::MouseButtonPress, windowPos, Qt::LeftButton, Qt::LeftButton, m_heldModifiers);
  m_manager->mousePressEvent(&press);
  QMouseEvent release(QEvent::MouseButtonRelease, windowPos, Qt::LeftButton, Qt::NoButton, m_heldModifiers);
  m_manager->mouseReleaseEvent(&release);
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

QImage LevelPlayer::Render() const
{
  QImage image(m_window.size(), QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  m_manager->Render(&painter);
  painter.end();
  return image;
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
  if (type == QEvent::MouseButtonPress)
    m_manager->mousePressEvent(&event);
  else if (type == QEvent::MouseButtonRelease)
    m_manager->mouseReleaseEvent(&event);
  else
    m_manager->mouseMoveEvent(&event);
}

QPoint LevelPlayer::toWindow(QPointF scenePos) const
{
  return m_manager->GetView()->mapFromScene(scenePos);
}
