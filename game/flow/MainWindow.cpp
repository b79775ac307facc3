#include "MainWindow.h"

#include "FailbackMainWindow.h"

#include <QGuiApplication>
#include <QLoggingCategory>

namespace
{
Q_LOGGING_CATEGORY(lcWindow, "bv.flow")
}

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
  qCInfo(lcWindow) << "OpenGL 2.0 is not available: drawing without it";
  return new FailbackMainWindow;
}

GeneralManager* GetGameManager(QWidget* mainWindow)
{
  if (auto* window = dynamic_cast<MainWindow*>(mainWindow))
    return window->GetManager();
  return static_cast<FailbackMainWindow*>(mainWindow)->GetManager();
}
