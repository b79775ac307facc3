#pragma once

#include <QPointF>

class QKeyEvent;
class QMouseEvent;

/// Turns the window's input into game commands. Exactly one handler is
/// current at a time; the game manager calls Start() when it becomes current
/// and Stop() when it stops being current. Mouse positions are in scene
/// coordinates.
class InputHandler
{
public:
  virtual ~InputHandler() = default;

  virtual void Start() = 0;
  virtual void Stop() = 0;
  virtual void keyPressEvent(QKeyEvent* event) = 0;
  virtual void keyReleaseEvent(QKeyEvent* event) = 0;
  virtual void mousePressEvent(QMouseEvent* event, QPointF scenePos) = 0;
  virtual void mouseReleaseEvent(QMouseEvent* event, QPointF scenePos) = 0;
  virtual void mouseMoveEvent(QMouseEvent* event, QPointF scenePos) = 0;
};
