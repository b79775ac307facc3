#include "FailbackMainWindow.h"

FailbackMainWindow::FailbackMainWindow() : GameWindow<QWidget>(false) {}
