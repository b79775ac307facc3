#include "MenuInputHandler.h"

#include "GameMenuScene.h"
#include "GraphicsButton.h"

#include <QGraphicsScene>
#include <QKeyEvent>

#include <cmath>

MenuInputHandler::MenuInputHandler(QObject* parent) : QObject(parent) {}

void MenuInputHandler::SetScene(QGraphicsScene* scene)
{
  if (m_hovered)
    m_hovered->OnHoverLeave();
  m_scene = scene;
  m_hovered = nullptr;
}

void MenuInputHandler::keyPressEvent(QKeyEvent* event)
{
  auto* menu = qobject_cast<GameMenuScene*>(m_scene);
  switch (event->key())
  {
  case Qt::Key_Escape:
    // A question or the levels go back to the buttons first.
    if (!menu || !menu->ShowMainPage())
      emit resume();
    setHovered(nullptr);
    return;
  case Qt::Key_Return:
  case Qt::Key_Enter:
  case Qt::Key_Space:
    if (m_hovered && m_hovered->isVisible())
      m_hovered->OnMousePress();
    return;
  case Qt::Key_Left:
    return moveHighlight(-1, 0);
  case Qt::Key_Right:
    return moveHighlight(1, 0);
  case Qt::Key_Up:
    return moveHighlight(0, -1);
  case Qt::Key_Down:
    return moveHighlight(0, 1);
  default:
    return;
  }
}

// To the nearest shown button that way; from nothing, to the first one.
void MenuInputHandler::moveHighlight(int dx, int dy)
{
  if (!m_scene)
    return;
  GraphicsButton* best = nullptr;
  double bestScore = 0;
  const QPointF from = m_hovered ? m_hovered->sceneBoundingRect().center() : QPointF(-1e6, -1e6);
  for (QGraphicsItem* item : m_scene->items())
  {
    auto* button = dynamic_cast<GraphicsButton*>(item);
    if (!button || button == m_hovered || !button->isVisible() || !button->isEnabled())
      continue;
    const QPointF d = button->sceneBoundingRect().center() - from;
    const double along = m_hovered ? d.x() * dx + d.y() * dy : d.y() * 1e3 + d.x();
    const double across = m_hovered ? std::abs(d.x() * dy) + std::abs(d.y() * dx) : 0;
    if (m_hovered && along <= 1)
      continue;
    const double score = along + 2 * across;
    if (!best || score < bestScore)
    {
      best = button;
      bestScore = score;
    }
  }
  if (best)
    setHovered(best);
}

void MenuInputHandler::setHovered(GraphicsButton* button)
{
  if (m_hovered)
    m_hovered->OnHoverLeave();
  if (button)
    button->OnHoverEnter();
  m_hovered = button;
}

void MenuInputHandler::mousePressEvent(QMouseEvent*, QPointF scenePos)
{
  if (!m_scene)
    return;
  GraphicsButton* button = buttonAt(scenePos);
  if (button)
    button->OnMousePress();
  m_hovered = button;
}

void MenuInputHandler::mouseMoveEvent(QMouseEvent*, QPointF scenePos)
{
  if (!m_scene)
    return;
  GraphicsButton* button = buttonAt(scenePos);
  if (button != m_hovered)
    setHovered(button);
}

GraphicsButton* MenuInputHandler::buttonAt(QPointF scenePos) const
{
  return GraphicsButton::FromItem(m_scene->itemAt(scenePos, QTransform()));
}
