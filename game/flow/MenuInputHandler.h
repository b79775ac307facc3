#pragma once

#include "IdleInputHandler.h"

#include <QObject>
#include <QPointer>

class GraphicsButton;
class QGraphicsScene;

/// The menu: the view is no graphics view, so this handler hit-tests the menu
/// scene itself and drives the buttons' hover and press. The arrow keys move
/// the highlight from button to button and Return presses it.
class MenuInputHandler : public QObject, public IdleInputHandler
{
  Q_OBJECT

public:
  explicit MenuInputHandler(QObject* parent = nullptr);

  /// \a scene is not owned; null until set.
  void SetScene(QGraphicsScene* scene);

  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event, QPointF scenePos) override;
  void mouseMoveEvent(QMouseEvent* event, QPointF scenePos) override;

signals:
  void resume();

private:
  GraphicsButton* buttonAt(QPointF scenePos) const;
  void moveHighlight(int dx, int dy);
  void setHovered(GraphicsButton* button);

  QGraphicsScene* m_scene = nullptr;
  // Cards of the levels page go when the page is made again.
  QPointer<GraphicsButton> m_hovered;
};
