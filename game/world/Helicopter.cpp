#include "world/Helicopter.h"

#include "world/Scene.h"

#include <QGraphicsItem>

Helicopter::Helicopter(QObject* parent)
  : Vehicle(QStringLiteral("helicopter"), parent)
{
}

QPointF Helicopter::getMoveImpulse(Direction direction) const
{
  // Skids on the ground hold it back: sideways it creeps at a fifth of its speed in the air.
  const double sideways = isOnGround() ? 0.1 : 0.5;
  switch (direction)
  {
  case Right:
    return QPointF(sideways, 0);
  case Left:
    return QPointF(-sideways, 0);
  case Up:
    return QPointF(0, -2.0);
  default:
    return QPointF(0, 0);
  }
}

bool Helicopter::isOnGround() const
{
  return m_scene && m_item && !m_scene->GetGroundAtPos(getRiderPosition()).isNull();
}
