#include "GameInputHandler.h"

#include <QKeyEvent>
#include <QMouseEvent>

GameInputHandler::GameInputHandler(QObject* parent) : QObject(parent)
{
  m_repeatTimer.setParent(this);
  m_repeatTimer.setInterval(RepeatIntervalMs);
  connect(&m_repeatTimer, &QTimer::timeout, this, &GameInputHandler::processedPressedKeys);
}

void GameInputHandler::Start()
{
  m_heldKeys.clear();
  m_active = true;
}

void GameInputHandler::Stop()
{
  m_active = false;
  m_heldKeys.clear();
  m_repeatTimer.stop();
}

void GameInputHandler::keyPressEvent(QKeyEvent* event)
{
  if (event->isAutoRepeat())
    return;
  processPressedKey(event->key(), true, event->modifiers());
  m_heldKeys.append(event->key());
  if (!m_repeatTimer.isActive() && m_active)
    m_repeatTimer.start();
}

void GameInputHandler::keyReleaseEvent(QKeyEvent* event)
{
  if (event->isAutoRepeat())
    return;
  if (event->key() == Qt::Key_Control)
    emit exitDrawingMode();
  m_heldKeys.removeAll(event->key());
  if (m_heldKeys.isEmpty())
    m_repeatTimer.stop();
}

void GameInputHandler::mousePressEvent(QMouseEvent* event, QPointF scenePos)
{
  if ((event->modifiers() & Qt::ControlModifier) && event->button() == Qt::LeftButton)
    emit drawingMoveTo(scenePos);
  m_lastMousePosition = scenePos;
}

void GameInputHandler::mouseReleaseEvent(QMouseEvent* event, QPointF scenePos)
{
  if ((event->modifiers() & Qt::ControlModifier) && event->button() == Qt::LeftButton)
    emit drawingLineTo(scenePos);
}

void GameInputHandler::mouseMoveEvent(QMouseEvent* event, QPointF scenePos)
{
  if ((event->buttons() & Qt::LeftButton) && (event->modifiers() & Qt::ControlModifier))
    emit drawingLineTo(scenePos);
}

void GameInputHandler::processedPressedKeys()
{
  const QList<int> keys = m_heldKeys;
  for (int key : keys)
    processPressedKey(key, false, Qt::NoModifier);
}

void GameInputHandler::processPressedKey(int key, bool firstPress, Qt::KeyboardModifiers modifiers)
{
  switch (key)
  {
  case Qt::Key_Left:
    emit moveLeft();
    return;
  case Qt::Key_Right:
    emit moveRight();
    return;
  case Qt::Key_Up:
    emit moveUp();
    return;
  case Qt::Key_Down:
    emit moveDown();
    return;
  case Qt::Key_Return:
    emit jump();
    return;
  default:
    break;
  }
  if (!firstPress)
    return;
  switch (key)
  {
  case Qt::Key_Space:
    emit useItem();
    return;
  case Qt::Key_Shift:
    emit pickUpItem();
    return;
  case Qt::Key_Control:
    emit enterDrawingMode();
    return;
  case Qt::Key_Backspace:
    emit removeLastStroke();
    return;
  case Qt::Key_Escape:
    if (!(modifiers & Qt::ControlModifier))
      emit goToMenu();
    return;
  default:
    break;
  }
  if (key >= Qt::Key_0 && key <= Qt::Key_9)
  {
    const int digit = key - Qt::Key_0;
    if (modifiers == Qt::AltModifier)
      emit saveLastObject(digit);
    else if (modifiers == Qt::NoModifier)
      emit loadObject(digit, m_lastMousePosition);
  }
}
