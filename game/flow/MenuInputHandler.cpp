#include "MenuInputHandler.h"

#include "GraphicsButton.h"

#include <QGraphicsScene>
#include <QKeyEvent>

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
  if (event->key() == Qt::Key_Escape)
    emit resume();
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
  if (button == m_hovered)
    return;
  if (m_hovered)
    m_hovered->OnHoverLeave();
  if (button)
    button->OnHoverEnter();
  m_hovered = button;
}

GraphicsButton* MenuInputHandler::buttonAt(QPointF scenePos) const
{
  return GraphicsButton::FromItem(m_scene->itemAt(scenePos, QTransform()));
}
