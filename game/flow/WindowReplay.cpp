#include "WindowReplay.h"

#include "LevelPlayer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <QWidget>
#include <QWindow>

#include <cstdio>

namespace
{
// Longer than any window system takes to show a window.
constexpr int ExposeTimeoutMs = 30000;

bool isExposed(const QWidget* window)
{
  return window->windowHandle() && window->windowHandle()->isExposed();
}
} // namespace

WindowReplay::WindowReplay() = default;
WindowReplay::~WindowReplay() = default;

bool WindowReplay::Prepare(const QString& scriptPath, QString* error)
{
  if (!m_script.Load(scriptPath, error))
    return false;
  m_level = m_script.GetSections().isEmpty() ? QString() : m_script.GetSections().first().level;
  if (m_level.isEmpty())
  {
    *error = QStringLiteral("%1: the script names no level before its first event").arg(scriptPath);
    return false;
  }
  m_settingsDir.reset(new QTemporaryDir);
  if (!m_settingsDir->isValid())
  {
    *error = QStringLiteral("no temporary folder for the replay's settings");
    return false;
  }
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir->path());
  QSettings().setValue(QStringLiteral("last_visited_level"), m_level);
  return true;
}

int WindowReplay::Run(QWidget* window, GeneralManager* manager)
{
  // The menu is clicked where the window shows it.
  QElapsedTimer clock;
  clock.start();
  while (!isExposed(window) && clock.elapsed() < ExposeTimeoutMs)
  {
    QCoreApplication::processEvents();
    QThread::msleep(10);
  }
  LevelPlayer player(window, manager);
  QString error;
  if (!isExposed(window))
    error = QStringLiteral("the window was never shown");
  else if (player.StartFromMenu(m_level, &error))
  {
    player.Replay(m_script.GetEvents(m_level), LevelPlayer::DefaultUntilTicks);
    std::printf("%s\n", qPrintable(player.GetOutcomeLine()));
    std::fflush(stdout);
    return 0;
  }
  std::fprintf(stderr, "brisvel: %s\n", qPrintable(error));
  return 1;
}
