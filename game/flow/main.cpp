#include "MainWindow.h"
#include "MallocTuning.h"

#include "common/FastTrigonometry.h"

#include <QApplication>
#include <QMessageBox>

#include <clocale>
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

  srand(static_cast<unsigned>(time(nullptr)));
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
  return QApplication::exec();
}
