#include "world/StickmanJumpManager.h"

#include "common/GlobalConstants.h"
#include "stickman/Stickman.h"
#include "world/ObjectCategories.h"
#include "world/Scene.h"

#include <QLineF>

#include <cmath>

namespace
{
// A free fall of 3 metres.
const double criticalFallingTime = std::sqrt(6.0 / bv::FreeFallAcceleration);
const double criticalVelocity = bv::FreeFallAcceleration * criticalFallingTime;
// Parachutes fall steadily.
constexpr double ParachuteSpeed = 1.0;
} // namespace

StickmanJumpManager::StickmanJumpManager(Stickman* stickman, Scene* scene)
  : m_stickman(stickman)
  , m_scene(scene)
{
}

double StickmanJumpManager::GetCriticalVelocity()
{
  return criticalVelocity;
}

void StickmanJumpManager::StartFallingDown(double horizontalSpeed, const QString& grabbedObjectName)
{
  m_startPos = m_stickman->pos();
  m_elapsed = 0;
  const double vx = m_stickman->GetFacingDirection() == Left ? -horizontalSpeed : horizontalSpeed;
  double vy = 0;
  m_acceleration = bv::FreeFallAcceleration;
  if (ObjectCategory::FromObjectName(grabbedObjectName) == ObjectCategory::Parachute)
  {
    m_acceleration = 0;
    vy = ParachuteSpeed;
  }
  m_velocity = QPointF(vx, vy);
  m_velocityPx = m_velocity * bv::PixelsPerMeter;
  m_accelerationPx = m_acceleration * bv::PixelsPerMeter;
  m_falling = true;
}

void StickmanJumpManager::FinishFallingDown()
{
  m_falling = false;
}

bool StickmanJumpManager::IsFallingDown() const
{
  return m_falling;
}

void StickmanJumpManager::Advance(bool& finished)
{
  finished = false;
  if (!m_falling)
    return;
  m_elapsed += bv::TickIntervalSec;
  const double v = m_acceleration * m_elapsed + m_velocity.y();
  // The fall stays marked as running after a death: the dead stickman is not
  // advanced again.
  const auto die = [this, v, &finished] {
    m_scene->KillStickman(m_stickman, QPointF(0, 0), QString(), ObjectCategory::Other, QPointF(m_velocity.x(), v));
    finished = true;
  };
  if (v > criticalVelocity)
    return die();
  const double t = m_elapsed;
  QPointF target(m_startPos.x() + m_velocityPx.x() * t,
                 m_startPos.y() + m_velocityPx.y() * t + m_accelerationPx * t * t * 0.5);
  const QPointF pos = m_stickman->pos();
  // A fall against a wall goes on straight down along it: the figure's body
  // never enters static ground sideways.
  if (m_scene->WouldSinkIntoStaticGround(m_stickman, target - pos) &&
      !m_scene->WouldSinkIntoStaticGround(m_stickman, QPointF(0, target.y() - pos.y())))
  {
    m_startPos.setX(pos.x());
    m_velocity.setX(0);
    m_velocityPx.setX(0);
    target.setX(pos.x());
  }
  const QLineF path(pos, target);
  for (const QLineF& ground : m_scene->GetGroundLines())
  {
    QPointF crossing;
    if (path.intersects(ground, &crossing) == QLineF::BoundedIntersection)
    {
      m_stickman->MoveTo(crossing);
      m_stickman->Land();
      m_scene->onStickmanLand(crossing);
      FinishFallingDown();
      finished = true;
      return;
    }
  }
  // Below the level's bottom no ground is left to land on: a fall out of the
  // level kills as a deep one does.
  if (target.y() > m_scene->sceneRect().bottom())
    return die();
  m_stickman->MoveTo(target);
}
