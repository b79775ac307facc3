#include "MainWindow.h"
#include "MallocTuning.h"

#include "common/FastTrigonometry.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>

#include <clocale>
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
  showFullScreen(window.get());
  return QApplication::exec();
}
