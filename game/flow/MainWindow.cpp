#include "MainWindow.h"

#include "FailbackMainWindow.h"

#include <QGuiApplication>
#include <QLoggingCategory>

namespace
{
Q_LOGGING_CATEGORY(lcWindow, "bv.flow")
}

MainWindow::MainWindow() : GameWindow<QGLWidget>(true) {}

void SetDefaultOpenGLFormat()
{
  QGLFormat format;
  format.setSampleBuffers(true);
  format.setSamples(2);
  format.setSwapInterval(0);
  QGLFormat::setDefaultFormat(format);
}

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
  qCInfo(lcWindow) << "OpenGL 2.0 is not available: drawing without it";
  return new FailbackMainWindow;
}
