// Times the game's start: from starting the program to its first painted
// menu frame, which the game reports on the "bv.startup" logging category.
// Needs a display (run it under xvfb-run).
//
//   bench_startup [RUNS]
//
// Prints the median and the slowest of RUNS starts (default 7), after the
// stages the game logged on its way in the last start, in seconds on the
// game's log clock (which starts with its Qt libraries, a little after exec).

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QList>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{
constexpr int TimeoutMs = 20000;

/// Milliseconds to the first menu frame, or a negative number when none came;
/// \a stages receives the game's start-up lines.
double timeOneStart(const QString& program, QList<QByteArray>* stages)
{
  QProcess game;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_LOGGING_RULES", "bv.startup.info=true");
  environment.insert("ALSOFT_DRIVERS", "null");
  environment.insert("QT_MESSAGE_PATTERN", "%{time process} s %{category}: %{message}");
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
  stages->clear();
  for (const QByteArray& line : log.split('\n'))
    if (line.contains("bv.startup"))
      *stages << line.trimmed();
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
  QList<QByteArray> stages;
  for (int run = 0; run < runs; ++run)
  {
    const double one = timeOneStart(program, &stages);
    if (one < 0)
      return 1;
    ms.push_back(one);
  }
  for (const QByteArray& stage : stages)
    std::printf("%s\n", stage.constData());
  std::sort(ms.begin(), ms.end());
  std::printf("start-up to the first menu frame: median %.0f ms, slowest %.0f ms over %d starts\n",
              ms[ms.size() / 2], ms.back(), runs);
  return 0;
}
