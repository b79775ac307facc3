#include "MainWindow.h"

#include "FailbackMainWindow.h"

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QScreen>

namespace
{
Q_LOGGING_CATEGORY(lcWindow, "bv.flow")

// The OpenGL renderer's name; empty when no context can be made.
QByteArray openGLRenderer()
{
  QOffscreenSurface surface;
  surface.create();
  QOpenGLContext context;
  if (!context.create() || !context.makeCurrent(&surface))
    return QByteArray();
  const auto* name = reinterpret_cast<const char*>(context.functions()->glGetString(GL_RENDERER));
  const QByteArray renderer(name ? name : "");
  context.doneCurrent();
  return renderer;
}

// OpenGL drawn by the processor (Mesa's llvmpipe, softpipe, swrast): putting
// a full-screen frame on the screen through it costs some 40 ms, where the
// window without OpenGL paints the whole frame in 3.
bool isSoftwareRenderer(const QByteArray& renderer)
{
  for (const char* name : {"llvmpipe", "softpipe", "swrast", "Software Rasterizer"})
    if (renderer.contains(name))
      return true;
  return false;
}
} // namespace

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
  // BRISVEL_WINDOW=opengl or software chooses the window whatever the machine has.
  const QByteArray choice = qgetenv("BRISVEL_WINDOW");
  if (choice == "software")
    return new FailbackMainWindow;
  if (!IsOpenGL2Available())
  {
    qCInfo(lcWindow) << "OpenGL 2.0 is not available: drawing without it";
    return new FailbackMainWindow;
  }
  if (choice != "opengl")
  {
    const QByteArray renderer = openGLRenderer();
    if (isSoftwareRenderer(renderer))
    {
      qCInfo(lcWindow).noquote() << "OpenGL is drawn by the processor (" + renderer + "): drawing without it";
      return new FailbackMainWindow;
    }
  }
  return new MainWindow;
}

GeneralManager* GetGameManager(QWidget* mainWindow)
{
  if (auto* window = dynamic_cast<MainWindow*>(mainWindow))
    return window->GetManager();
  return static_cast<FailbackMainWindow*>(mainWindow)->GetManager();
}
