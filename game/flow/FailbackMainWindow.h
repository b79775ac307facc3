#pragma once

#include "GameWindow.h"

#include <QWidget>

/// The software window: painting without antialiasing to stay fast.
class FailbackMainWindow : public GameWindow<QWidget>
{
public:
  FailbackMainWindow();
};
