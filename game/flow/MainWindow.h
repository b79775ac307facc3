#pragma once

#include "GameWindow.h"

#include <QGLWidget>

/// The OpenGL window, chosen when OpenGL 2.0 is available; it uses the
/// application's default OpenGL format.
class MainWindow : public GameWindow<QGLWidget>
{
public:
  MainWindow();
};

/// Multisampled, and never waiting for the screen's vertical retrace; call
/// before the first window exists.
void SetDefaultOpenGLFormat();

/// OpenGL 2.0 or later is there. Never asks on platforms without a display
/// ("offscreen", "minimal"), where the question itself crashes.
bool IsOpenGL2Available();

/// The OpenGL window when OpenGL 2.0 is available on a graphics card, the
/// software one otherwise (OpenGL drawn by the processor is far slower than
/// it); BRISVEL_WINDOW=opengl or software chooses either whatever the machine
/// has. Builds the whole game; throws std::runtime_error when a data file fails.
QWidget* CreateMainWindow();
/// The game manager of a window CreateMainWindow made.
GeneralManager* GetGameManager(QWidget* mainWindow);
