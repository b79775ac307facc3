#include "LevelOverviewer.h"

#include "View.h"
#include "world/Scene.h"

#include "common/GlobalConstants.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr double MaxTranslationPerTickPx = 10.0;
constexpr double MaxScalePerTick = 0.01;
} // namespace

LevelOverviewer::LevelOverviewer() = default;

void LevelOverviewer::Init(View* view, Scene* scene)
{
  m_view = view;
  m_scene = scene;
}

void LevelOverviewer::Start()
{
  const QTransform player = m_view->transform();
  const QRectF bounds = m_scene->sceneRect();
  // As much of the level as fills the screen: a level of another shape than the
  // screen shows its middle rather than bands of what lies outside it.
  const double scale = std::min(1.0, std::max(m_view->width() / bounds.width(), m_view->height() / bounds.height()));
  m_view->resetTransform();
  m_view->scale(scale, scale);
  m_view->centerOn(bounds.center());
  const QTransform overview = m_view->transform();

  m_start = Placement{overview.dx(), overview.dy(), scale, scale};
  m_current = m_start;
  m_delta = Placement{player.dx() - m_start.dx, player.dy() - m_start.dy, player.m11() - m_start.sx,
                      player.m22() - m_start.sy};
  m_stepCount = static_cast<int>(std::max({std::ceil(std::abs(m_delta.dx) / MaxTranslationPerTickPx),
                                           std::ceil(std::abs(m_delta.dy) / MaxTranslationPerTickPx),
                                           std::ceil(std::abs(m_delta.sx) / MaxScalePerTick),
                                           std::ceil(std::abs(m_delta.sy) / MaxScalePerTick)}));
  m_step = 0;
  m_scene->EnterZoomMode();
  m_waitedSec = 0;
  m_running = true;
  m_paused = false;
}

void LevelOverviewer::Stop()
{
  m_running = false;
  m_paused = false;
  m_scene->ExitZoomMode();
  emit Finished();
}

void LevelOverviewer::Pause()
{
  m_paused = true;
}

void LevelOverviewer::Resume()
{
  if (!m_running)
    return;
  m_paused = false;
  UpdateViewTransform();
}

void LevelOverviewer::UpdateViewTransform()
{
  m_view->setTransform(QTransform(m_current.sx, 0, 0, m_current.sy, m_current.dx, m_current.dy));
  m_view->update();
}

void LevelOverviewer::Advance()
{
  if (m_paused)
    return;
  if (m_waitedSec < HoldSec)
  {
    m_waitedSec += bv::TickIntervalSec;
    return;
  }
  if (m_step < m_stepCount)
  {
    ++m_step;
    const double t = static_cast<double>(m_step) / m_stepCount;
    m_current = Placement{m_start.dx + m_delta.dx * t, m_start.dy + m_delta.dy * t, m_start.sx + m_delta.sx * t,
                          m_start.sy + m_delta.sy * t};
    UpdateViewTransform();
    return;
  }
  Stop();
}
