#pragma once

#include "InputScript.h"

#include <QString>

#include <memory>

class GeneralManager;
class QTemporaryDir;
class QWidget;

/// Replays an input script in the game's own window (BRISVEL_REPLAY=FILE):
/// the game starts from its menu as a player does, the script's first level
/// being the one it offers to resume; the events reach the window at their
/// ticks, every frame is painted, and the run ends with brisvel-play's
/// outcome line. Ticks run back to back. The run keeps its progress in a
/// settings store of its own: a player's progress is never touched.
class WindowReplay
{
public:
  WindowReplay();
  ~WindowReplay();

  /// Reads the script and prepares the settings store; call after the
  /// application is named and before the game window is made. False, with
  /// the message, when the script cannot be played.
  bool Prepare(const QString& scriptPath, QString* error);
  /// Plays the level in \a window, a shown game window whose manager is
  /// \a manager (neither owned), and prints the outcome line. Returns the exit
  /// status: 0 played to its outcome, 1 the level did not start.
  int Run(QWidget* window, GeneralManager* manager);

private:
  InputScript m_script;
  QString m_level;
  std::unique_ptr<QTemporaryDir> m_settingsDir;
};
