#pragma once

#include "IdleInputHandler.h"

#include <QObject>

/// After the player died: Escape leaves to the menu, nothing else reacts.
class GameOverInputHandler : public QObject, public IdleInputHandler
{
  Q_OBJECT

public:
  explicit GameOverInputHandler(QObject* parent = nullptr) : QObject(parent) {}

  void keyPressEvent(QKeyEvent* event) override;

signals:
  void goToMenu();
};
