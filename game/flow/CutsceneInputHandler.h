#pragma once

#include "IdleInputHandler.h"

#include <QObject>

/// Cutscenes and the level overview: Space or a click skips the current cue,
/// Escape leaves to the menu.
class CutsceneInputHandler : public QObject, public IdleInputHandler
{
  Q_OBJECT

public:
  explicit CutsceneInputHandler(QObject* parent = nullptr) : QObject(parent) {}

  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event, QPointF scenePos) override;

signals:
  void goToMenu();
  void skipCutsceneCue();
};
