#pragma once

#include "flow/GeneralManager.h"

#include <QList>
#include <QPolygonF>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

/// A game manager on a 1280 x 720 window that is never shown, with a settings
/// store of its own in a temporary folder, ticked by hand, on the test levels.
class ManagerTest : public testing::Test
{
protected:
  void SetUp() override;

  /// Built on first use, so that a test can prepare the settings first.
  GeneralManager& manager();
  /// A second run of the program on the same settings.
  void restartProgram();
  void tick(int count = 1);
  /// Ticks until the level overview has ended (at most a minute of game time).
  void finishOverview();
  /// A press and release.
  void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
  /// Draws \a strokes (scene pixels) with the mouse while Control is held, as a player does.
  void draw(const QList<QPolygonF>& strokes);
  /// The labels of the menu's visible buttons, sorted.
  QStringList visibleButtons();
  /// Clicks the menu button with that label through the window, as a player would.
  void clickButton(const QString& label);

  template <class Handler>
  bool current()
  {
    return dynamic_cast<Handler*>(manager().GetInputHandler()) != nullptr;
  }

  bool showsLevel();
  bool showsMenu();

  QTemporaryDir settingsDir;
  QWidget window;
  /// Messages of levels that failed to load.
  QStringList errors;

private:
  std::unique_ptr<GeneralManager> m_manager;
};
