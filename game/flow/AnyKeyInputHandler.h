#pragma once

#include "IdleInputHandler.h"

#include <QObject>

/// The help screen: any key press, auto-repeated or not, leaves it.
class AnyKeyInputHandler : public QObject, public IdleInputHandler
{
  Q_OBJECT

public:
  explicit AnyKeyInputHandler(QObject* parent = nullptr) : QObject(parent) {}

  void keyPressEvent(QKeyEvent*) override { emit anyKeyPressed(); }

signals:
  void anyKeyPressed();
};
