#include "MainWindow.h"

#include "FailbackMainWindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QLoggingCategory>

namespace
{
Q_LOGGING_CATEGORY(lcWindow, "bv.flow")
}

// showFullScreen alone leaves the window at its own size where no window
// manager runs; taking the screen's geometry too covers the screen either way.
void ShowFullScreen(QWidget* window)
{
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    window->setGeometry(screen->geometry());
  window->showFullScreen();
}

void ToggleFullScreen(QWidget* window)
{
  if (!window->isFullScreen())
  {
    ShowFullScreen(window);
    return;
  }
  window->showNormal();
  if (const QScreen* screen = QGuiApplication::primaryScreen())
  {
    const QRect area = screen->availableGeometry();
    QRect frame(QPoint(0, 0), area.size() * 2 / 3);
    frame.moveCenter(area.center());
    window->setGeometry(frame);
  }
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

GeneralManager* GetGameManager(QWidget* mainWindow)
{
  if (auto* window = dynamic_cast<MainWindow*>(mainWindow))
    return window->GetManager();
  return static_cast<FailbackMainWindow*>(mainWindow)->GetManager();
}
