#pragma once

#include "GeneralManager.h"

#include <QPaintEvent>
#include <QPainter>

/// What both main windows share: they own the game manager, forward every
/// input, resize and paint event to it, and differ only in their base class
/// and in the quality of painting.
template <class Base>
class GameWindow : public Base
{
public:
  explicit GameWindow(bool highQuality) : m_highQuality(highQuality), m_manager(new GeneralManager(this, nullptr)) {}
  ~GameWindow() override { delete m_manager; }

  GameWindow(const GameWindow&) = delete;
  GameWindow& operator=(const GameWindow&) = delete;

  GeneralManager* GetManager() const { return m_manager; }

protected:
  void mousePressEvent(QMouseEvent* event) override { m_manager->mousePressEvent(event); }
  void mouseReleaseEvent(QMouseEvent* event) override { m_manager->mouseReleaseEvent(event); }
  void mouseMoveEvent(QMouseEvent* event) override { m_manager->mouseMoveEvent(event); }
  void keyPressEvent(QKeyEvent* event) override { m_manager->keyPressEvent(event); }
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
