#pragma once

#include "GeneralManager.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>

/// Full screen on the primary screen, with or without a window manager.
void ShowFullScreen(QWidget* window);
/// Between full screen and a window of two thirds of the screen.
void ToggleFullScreen(QWidget* window);

/// What both main windows share: they own the game manager, forward every
/// input, resize and paint event to it, and differ only in their base class
/// and in the quality of painting. F11 and Alt+Return switch between full
/// screen and a window; losing the focus during play shows the menu, which
/// pauses the game.
template <class Base>
class GameWindow : public Base
{
public:
  explicit GameWindow(bool highQuality) : m_highQuality(highQuality), m_manager(new GeneralManager(this, nullptr))
  {
    // A drawing needs every point the mouse passed: while frames are slow, Qt
    // would merge the moves that waited in the queue, and cut the corners.
    QCoreApplication::setAttribute(Qt::AA_CompressHighFrequencyEvents, false);
  }
  ~GameWindow() override { delete m_manager; }

  GameWindow(const GameWindow&) = delete;
  GameWindow& operator=(const GameWindow&) = delete;

  GeneralManager* GetManager() const { return m_manager; }

protected:
  void mousePressEvent(QMouseEvent* event) override { m_manager->mousePressEvent(event); }
  void mouseReleaseEvent(QMouseEvent* event) override { m_manager->mouseReleaseEvent(event); }
  void mouseMoveEvent(QMouseEvent* event) override { m_manager->mouseMoveEvent(event); }
  void keyPressEvent(QKeyEvent* event) override
  {
    const bool altReturn = event->key() == Qt::Key_Return && event->modifiers() == Qt::AltModifier;
    if ((event->key() == Qt::Key_F11 || altReturn) && !event->isAutoRepeat())
      ToggleFullScreen(this);
    else
      m_manager->keyPressEvent(event);
  }
  void changeEvent(QEvent* event) override
  {
    if (event->type() == QEvent::ActivationChange && !this->isActiveWindow() && m_manager->IsTicking())
      m_manager->switchToMenu();
    Base::changeEvent(event);
  }
  void keyReleaseEvent(QKeyEvent* event) override { m_manager->keyReleaseEvent(event); }
  void resizeEvent(QResizeEvent* event) override { m_manager->resizeEvent(event); }

  void paintEvent(QPaintEvent*) override
  {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, m_highQuality);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, m_highQuality);
    m_manager->Render(&painter);
    painter.end();
  }

private:
  const bool m_highQuality;
  GeneralManager* m_manager;
};
