#pragma once

#include "InputHandler.h"

/// Ignores everything; the simple handlers override only what they need.
class IdleInputHandler : public InputHandler
{
public:
  void Start() override {}
  void Stop() override {}
  void keyPressEvent(QKeyEvent*) override {}
  void keyReleaseEvent(QKeyEvent*) override {}
  void mousePressEvent(QMouseEvent*, QPointF) override {}
  void mouseReleaseEvent(QMouseEvent*, QPointF) override {}
  void mouseMoveEvent(QMouseEvent*, QPointF) override {}
};
