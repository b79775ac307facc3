#include "LevelPlayer.h"
#include "MainWindow.h"
#include "MallocTuning.h"
#include "WindowReplay.h"

#include "common/FastTrigonometry.h"

#include <QApplication>
#include <QGLFormat>
#include <QMessageBox>
#include <QScreen>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <stdexcept>

namespace
{
// showFullScreen alone leaves the window at its own size where no window
// manager runs; taking the screen's geometry too covers the screen either way.
void showFullScreen(QWidget* window)
{
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    window->setGeometry(screen->geometry());
  window->showFullScreen();
}
} // namespace

int main(int argc, char* argv[])
{
  TuneMalloc();
  QApplication application(argc, argv);
  QApplication::setApplicationName("Brisvel");
  QApplication::setOrganizationDomain("brisvel.org");
  QApplication::setApplicationDisplayName("Brisvel");

  // BRISVEL_REPLAY=FILE plays an input script in the window instead of a player.
  std::unique_ptr<WindowReplay> replay;
  if (const QString replayPath = qEnvironmentVariable("BRISVEL_REPLAY"); !replayPath.isEmpty())
  {
    replay.reset(new WindowReplay);
    QString error;
    if (!replay->Prepare(replayPath, &error))
    {
      std::fprintf(stderr, "brisvel: %s\n", qPrintable(error));
      return 2;
    }
  }
  srand(replay ? LevelPlayer::DefaultSeed : static_cast<unsigned>(time(nullptr)));
  InitFastTrigonometry();
  setlocale(LC_NUMERIC, "C");

  QGLFormat format;
  format.setSampleBuffers(true);
  format.setSamples(2);
  format.setSwapInterval(0);
  QGLFormat::setDefaultFormat(format);

  std::unique_ptr<QWidget> window;
  try
  {
    window.reset(CreateMainWindow());
  }
  catch (const std::runtime_error& error)
  {
    QMessageBox::critical(nullptr, QString(), QString::fromUtf8(error.what()), QMessageBox::Ok);
    return -1;
  }
  showFullScreen(window.get());
  if (replay)
    return replay->Run(window.get(), GetGameManager(window.get()));
  return QApplication::exec();
}
