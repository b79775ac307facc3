#pragma once

#include "IdleInputHandler.h"

#include <QObject>

class GraphicsButton;
class QGraphicsScene;

/// The menu: the view is no graphics view, so this handler hit-tests the menu
/// scene itself and drives the buttons' hover and press.
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

  QGraphicsScene* m_scene = nullptr;
  GraphicsButton* m_hovered = nullptr;
};
