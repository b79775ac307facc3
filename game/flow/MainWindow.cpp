#include "MainWindow.h"

#include "FailbackMainWindow.h"

#include <QGuiApplication>

MainWindow::MainWindow() : GameWindow<QGLWidget>(true) {}

bool IsOpenGL2Available()
{
  const QString platform = QGuiApplication::platformName();
  if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
    return false;
  return QGLFormat::hasOpenGL() && (QGLFormat::openGLVersionFlags() & QGLFormat::OpenGL_Version_2_0);
}

QWidget* CreateMainWindow()
{
  if (IsOpenGL2Available())
    return new MainWindow;
  return new FailbackMainWindow;
}
