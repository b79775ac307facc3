// Times the game's start: from starting the program to its first painted
// menu frame, which the game reports on the "bv.startup" logging category.
// Needs a display (run it under xvfb-run).
//
//   bench_startup [RUNS]
//
// Prints the median and the slowest of RUNS starts (default 7).

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{
constexpr int TimeoutMs = 20000;

/// Milliseconds to the first menu frame, or a negative number when none came.
double timeOneStart(const QString& program)
{
  QProcess game;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_LOGGING_RULES", "bv.startup.info=true");
  environment.insert("ALSOFT_DRIVERS", "null");
  game.setProcessEnvironment(environment);
  QElapsedTimer timer;
  timer.start();
  game.setReadChannel(QProcess::StandardError);
  game.start(program, QStringList());
  QByteArray log;
  double ms = -1;
  while (timer.elapsed() < TimeoutMs && game.state() != QProcess::NotRunning)
  {
    game.waitForReadyRead(100);
    log += game.readAllStandardError();
    if (log.contains("first menu frame painted"))
    {
      ms = timer.nsecsElapsed() / 1e6;
      break;
    }
  }
  game.kill();
  game.waitForFinished();
  if (ms < 0)
    std::fprintf(stderr, "bench_startup: no menu frame; the game wrote:\n%s\n", log.constData());
  return ms;
}
} // namespace

int main(int argc, char* argv[])
{
  QCoreApplication application(argc, argv);
  const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 7;
  const QString program = QCoreApplication::applicationDirPath() + "/brisvel";
  std::vector<double> ms;
  for (int run = 0; run < runs; ++run)
  {
    const double one = timeOneStart(program);
    if (one < 0)
      return 1;
    ms.push_back(one);
  }
  std::sort(ms.begin(), ms.end());
  std::printf("start-up to the first menu frame: median %.0f ms, slowest %.0f ms over %d starts\n",
              ms[ms.size() / 2], ms.back(), runs);
  return 0;
}
