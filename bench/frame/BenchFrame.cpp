// Times the painting of one 1920 x 1080 frame of a level: the real game
// manager shows the level, and View::render paints it into an image with the
// software painter, as the fallback window does.
//
//   bench_frame [LEVEL [PNG]]
//
// LEVEL defaults to the first level of a new game; a path to a level file
// (NAME.xml) plays that file from its own folder. Prints the median and the
// slowest of 101 frames, each rendered after one game tick, and of the ticks
// themselves; PNG receives the last frame, to look at what was timed.

#include "Headless.h"

#include "flow/GeneralManager.h"
#include "flow/MallocTuning.h"
#include "flow/View.h"

#include "common/FastTrigonometry.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSettings>
#include <QTemporaryDir>
#include <QWidget>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <ctime>
#include <stdexcept>
#include <vector>

namespace
{
constexpr int Frames = 101;
// The level overview's hold and glide are over well before this.
constexpr int SettleTicks = 600;

double threadCpuMs()
{
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

void tick(GeneralManager& manager)
{
  manager.Tick();
}
} // namespace

int main(int argc, char* argv[])
{
  TuneMalloc();
  RunHeadless();
  QApplication application(argc, argv);
  QApplication::setApplicationName("bench_frame");
  QTemporaryDir settingsDir;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
  InitFastTrigonometry();
  setlocale(LC_NUMERIC, "C");
  srand(1);

  QWidget window;
  window.resize(1920, 1080);
  try
  {
    GeneralManager manager(&window, nullptr);
    manager.SetManualTicks();
    QString level = argc > 1 ? QString::fromLocal8Bit(argv[1]) : manager.GetStartLevelName();
    if (level.endsWith(QLatin1String(".xml")))
    {
      const QFileInfo file(level);
      manager.SetLevelsPath(file.absolutePath());
      level = file.completeBaseName();
    }
    manager.PlayLevel(level);
    if (manager.GetLevelName() != level)
    {
      std::fprintf(stderr, "bench_frame: level %s does not load\n", qPrintable(level));
      return 1;
    }
    for (int i = 0; i < SettleTicks; ++i)
      tick(manager);

    QImage image(window.size(), QImage::Format_ARGB32_Premultiplied);
    std::vector<double> ms;
    std::vector<double> cpuMs;
    std::vector<double> tickMs;
    for (int frame = 0; frame < Frames; ++frame)
    {
      QElapsedTimer tickTimer;
      tickTimer.start();
      tick(manager);
      tickMs.push_back(tickTimer.nsecsElapsed() / 1e6);
      const double cpuStart = threadCpuMs();
      QElapsedTimer timer;
      timer.start();
      QPainter painter(&image);
      manager.GetView()->render(&painter);
      painter.end();
      ms.push_back(timer.nsecsElapsed() / 1e6);
      cpuMs.push_back(threadCpuMs() - cpuStart);
    }
    if (argc > 2 && !image.save(QString::fromLocal8Bit(argv[2])))
      std::fprintf(stderr, "bench_frame: cannot write %s\n", argv[2]);
    std::sort(ms.begin(), ms.end());
    std::sort(cpuMs.begin(), cpuMs.end());
    std::sort(tickMs.begin(), tickMs.end());
    // The machine may be shared: processor time leaves out what other programs took.
    std::printf("processor time: median %.2f ms, slowest %.2f ms\n", cpuMs[cpuMs.size() / 2], cpuMs.back());
    std::printf("frame 1920x1080 level %s: median %.2f ms, slowest %.2f ms over %d frames\n", qPrintable(level),
                ms[ms.size() / 2], ms.back(), Frames);
    std::printf("tick before each frame: median %.2f ms, slowest %.2f ms\n", tickMs[tickMs.size() / 2], tickMs.back());
  }
  catch (const std::runtime_error& error)
  {
    std::fprintf(stderr, "bench_frame: %s\n", error.what());
    return 1;
  }
  return 0;
}
