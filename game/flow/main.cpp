#include "LevelPlayer.h"
#include "MainWindow.h"
#include "MallocTuning.h"
#include "WindowReplay.h"

#include "common/FastTrigonometry.h"

#include <QApplication>
#include <QMessageBox>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <stdexcept>

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

  SetDefaultOpenGLFormat();

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
  ShowFullScreen(window.get());
  if (replay)
    return replay->Run(window.get(), GetGameManager(window.get()));
  return QApplication::exec();
}
