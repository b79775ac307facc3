// Times the real game window while the camera follows the walking player:
// the game's own window, full screen, with the game's settings, on the first
// level. The level is started with a click on the menu's "Start new game",
// its start cutscene is skipped with Space, then Right is held.
// Needs a display: run it under xvfb-run -a -s "-screen 0 1920x1080x24".
//
//   bench_window [opengl|software] [SECONDS]
//
// opengl (the default) is the OpenGL window, software the window the game
// falls back on without OpenGL 2.0. Right is held for SECONDS (default 10).
// Prints how long the window took to answer the click on the menu, the cost
// of a frame (painting it and putting it on the screen) as median and 95th
// percentile, the frames per second, and the game ticks per wall-clock second.

#include "flow/FailbackMainWindow.h"
#include "flow/GameInputHandler.h"
#include "flow/GameMenuScene.h"
#include "flow/GeneralManager.h"
#include "flow/GraphicsButton.h"
#include "flow/MainWindow.h"
#include "flow/MallocTuning.h"
#include "flow/View.h"
#include "world/Scene.h"

#include "common/FastTrigonometry.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGraphicsItem>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <vector>

namespace
{
// Processor time of all the program's threads: OpenGL without a graphics card
// paints in threads of its own.
double processCpuMs()
{
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// Counts the game's ticks: the scene advances every item once per tick.
class TickCounter : public QGraphicsItem
{
public:
  QRectF boundingRect() const override { return QRectF(); }
  void paint(QPainter*, const QStyleOptionGraphicsItem*, QWidget*) override {}
  void advance(int phase) override
  {
    if (phase == 1)
      ++ticks;
  }
  long ticks = 0;
};

// Times the window's frames: the outermost repaint event that reaches it.
class TimingApplication : public QApplication
{
public:
  using QApplication::QApplication;

  bool notify(QObject* receiver, QEvent* event) override
  {
    const QEvent::Type type = event->type();
    if (receiver == window && type == QEvent::MouseButtonPress && clickAnsweredMs < 0)
      clickAnsweredMs = clock.nsecsElapsed() / 1e6;
    if (!window || m_inFrame || (type != QEvent::UpdateRequest && type != QEvent::Paint) ||
        !receiver->isWidgetType() || static_cast<QWidget*>(receiver)->window() != window)
      return QApplication::notify(receiver, event);
    m_inFrame = true;
    const double cpuStart = processCpuMs();
    const qint64 start = clock.nsecsElapsed();
    const bool result = QApplication::notify(receiver, event);
    const qint64 end = clock.nsecsElapsed();
    m_inFrame = false;
    frameStartsMs.push_back(start / 1e6);
    frameCostsMs.push_back((end - start) / 1e6);
    frameCpuMs.push_back(processCpuMs() - cpuStart);
    return result;
  }

  QWidget* window = nullptr;
  QElapsedTimer clock;
  std::vector<double> frameStartsMs;
  std::vector<double> frameCostsMs;
  std::vector<double> frameCpuMs;
  double clickAnsweredMs = -1;

private:
  bool m_inFrame = false;
};

void runFor(int ms)
{
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < ms)
    QApplication::processEvents(QEventLoop::AllEvents, ms - int(timer.elapsed()));
}

bool runUntil(const std::function<bool()>& done, int timeoutMs)
{
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < timeoutMs)
    QApplication::processEvents(QEventLoop::AllEvents, 10);
  return done();
}

void postKey(QWidget* window, QEvent::Type type, int key)
{
  QApplication::postEvent(window, new QKeyEvent(type, key, Qt::NoModifier));
}

double percentile(std::vector<double> values, double fraction)
{
  std::sort(values.begin(), values.end());
  const size_t index = size_t(std::ceil(fraction * values.size())) - 1;
  return values[std::min(index, values.size() - 1)];
}

int fail(const char* message)
{
  std::fprintf(stderr, "bench_window: %s\n", message);
  return 1;
}
} // namespace

int main(int argc, char* argv[])
{
  TuneMalloc();
  if (qEnvironmentVariableIsEmpty("ALSOFT_DRIVERS"))
    qputenv("ALSOFT_DRIVERS", "null");
  TimingApplication application(argc, argv);
  QApplication::setApplicationName("bench_window");
  QTemporaryDir settingsDir;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
  srand(static_cast<unsigned>(time(nullptr)));
  InitFastTrigonometry();
  setlocale(LC_NUMERIC, "C");
  SetDefaultOpenGLFormat();

  const QString kind = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("opengl");
  const double seconds = argc > 2 ? std::max(1.0, atof(argv[2])) : 10.0;
  if (kind != "opengl" && kind != "software")
    return fail("the window is opengl or software");
  if (kind == "opengl" && !IsOpenGL2Available())
    return fail("no OpenGL 2.0 here");

  std::unique_ptr<QWidget> window;
  GeneralManager* manager;
  if (kind == "opengl")
  {
    auto* gl = new MainWindow;
    manager = gl->GetManager();
    window.reset(gl);
  }
  else
  {
    auto* software = new FailbackMainWindow;
    manager = software->GetManager();
    window.reset(software);
  }
  application.window = window.get();
  application.clock.start();
  window->setGeometry(QGuiApplication::primaryScreen()->geometry());
  window->showFullScreen();
  if (!runUntil([&] { return !application.frameCostsMs.empty(); }, 10000))
    return fail("the menu never showed");
  const double menuShownMs = application.clock.nsecsElapsed() / 1e6;

  GraphicsButton* start = nullptr;
  for (QGraphicsItem* item : manager->GetMenuScene()->items())
    if (auto* button = dynamic_cast<GraphicsButton*>(item); button && button->GetText() == "Start new game")
      start = button;
  if (!start)
    return fail("no \"Start new game\" on the menu");
  const QPoint at = manager->GetView()->mapFromScene(start->sceneBoundingRect().center());
  QApplication::postEvent(window.get(),
                          new QMouseEvent(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
  QApplication::postEvent(window.get(),
                          new QMouseEvent(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
  if (!runUntil([&] { return manager->GetView()->scene() == manager->GetScene(); }, 20000))
    return fail("the click did not start the level");
  const double clickMs = application.clickAnsweredMs - menuShownMs;

  // Space skips the overview's cues and the start cutscene until the player may move.
  const auto playing = [&] { return manager->GetInputHandler() == manager->GetGameInputHandler(); };
  for (int i = 0; i < 60 && !playing(); ++i)
  {
    postKey(window.get(), QEvent::KeyPress, Qt::Key_Space);
    postKey(window.get(), QEvent::KeyRelease, Qt::Key_Space);
    runUntil(playing, 500);
  }
  if (!playing())
    return fail("the start cutscene never ended");

  auto* counter = new TickCounter;
  manager->GetScene()->addItem(counter);
  postKey(window.get(), QEvent::KeyPress, Qt::Key_Right);
  runFor(200);
  application.frameCostsMs.clear();
  application.frameStartsMs.clear();
  application.frameCpuMs.clear();
  const long ticksBefore = counter->ticks;
  QElapsedTimer walk;
  walk.start();
  runFor(int(seconds * 1000));
  const double wallMs = walk.nsecsElapsed() / 1e6;
  const long ticks = counter->ticks - ticksBefore;
  postKey(window.get(), QEvent::KeyRelease, Qt::Key_Right);
  runFor(100);

  const std::vector<double>& costs = application.frameCostsMs;
  if (costs.size() < 2)
    return fail("no frames while walking");
  const double tickMs = 16;
  std::printf("%s window %dx%d, %s, Right held %.1f s\n", kind == "opengl" ? "OpenGL" : "software",
              window->width(), window->height(), qPrintable(manager->GetLevelName()), wallMs / 1000);
  std::printf("menu click answered %.0f ms after the first menu frame\n", clickMs);
  std::printf("frame: median %.1f ms, p95 %.1f ms, %.1f frames per second\n", percentile(costs, 0.5),
              percentile(costs, 0.95), 1000.0 * (costs.size() - 1) /
                                           (application.frameStartsMs.back() - application.frameStartsMs.front()));
  // The machine may be shared: processor time leaves out what other programs took.
  std::printf("processor time of a frame: median %.1f ms, p95 %.1f ms\n", percentile(application.frameCpuMs, 0.5),
              percentile(application.frameCpuMs, 0.95));
  std::printf("game time: %ld ticks in %.2f s, %.1f ticks per second, %.0f%% of wall-clock time\n", ticks,
              wallMs / 1000, ticks * 1000.0 / wallMs, 100.0 * ticks * tickMs / wallMs);
  return 0;
}
