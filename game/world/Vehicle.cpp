#include "world/Vehicle.h"

#include "world/Helicopter.h"
#include "world/Scene.h"

#include "common/ConvertUtils.h"
#include "stickman/Stickman.h"

#include <box2d/b2_body.h>

#include <QGraphicsItem>
#include <QLineF>

#include <algorithm>

Vehicle* Vehicle::Create(const QString& name)
{
  if (name == QLatin1String("helicopter"))
    return new Helicopter(nullptr);
  return new Vehicle(name, nullptr);
}

Vehicle::Vehicle(const QString& name, QObject* parent)
  : Object(name, ObjectCategory::Vehicle, parent)
{
}

Vehicle::~Vehicle()
{
  // The rider of a vehicle that goes away is seen again, wherever it is left.
  if (m_holder)
    m_holder->show();
  if (m_engineSound && m_scene)
    m_scene->StopSound(m_engineSound);
}

void Vehicle::Advance()
{
  Object::Advance();
  keepInsideLevel();
  if (!m_holder)
    return;
  placeHolder();
  m_scene->MoveSoundSource(m_engineSound, m_item->sceneBoundingRect().center());
}

void Vehicle::OnGrab(Stickman* stickman)
{
  m_holder = stickman;
  if (stickman->GetFacingDirection() != m_facingDirection)
    stickman->TurnAround();
  stickman->hide();
  placeHolder();
  if (m_scene && m_item)
    m_engineSound = m_scene->PlaySound(m_sounds.engineSound, m_item->sceneBoundingRect().center(), 1.0, true);
}

void Vehicle::OnRelease()
{
  if (!m_holder)
    return;
  if (m_scene)
  {
    placeHolder();
    const QPointF at = m_holder->GetActualPos();
    const QLineF ground = m_scene->GetGroundAtPos(at);
    if (ground.isNull())
      m_holder->StartFallingDown(0);
    else // the seat of a tilted vehicle may lie a little below the ground's top
      m_holder->MoveTo(QPointF(at.x(), ground.y1()));
    m_scene->StopSound(m_engineSound);
    m_engineSound = 0;
    m_scene->PlaySound(m_sounds.specialSound, m_holder->GetActualPos(), 1.0, false);
  }
  m_holder->show();
  m_holder = nullptr;
}

void Vehicle::SetHandPosition(QPointF)
{
}

void Vehicle::SetArmAngle(double)
{
}

void Vehicle::SetFacingDirection(Direction direction)
{
  if (!m_holder)
    Object::SetFacingDirection(direction);
}

void Vehicle::Move(Direction direction)
{
  b2Body* body = m_physics.body;
  if (!body || body->GetType() != b2_dynamicBody)
    return;
  body->SetAwake(true);
  body->ApplyLinearImpulse(Point2Vec(getMoveImpulse(direction)), body->GetWorldCenter(), true);
}

QPointF Vehicle::getMoveImpulse(Direction) const
{
  return QPointF(0, 0);
}

QPointF Vehicle::getRiderPosition() const
{
  const QRectF r = m_item->boundingRect();
  return m_item->mapToScene(QPointF(r.center().x(), r.bottom()));
}

void Vehicle::keepInsideLevel()
{
  b2Body* body = m_physics.body;
  if (!body || !m_scene)
    return;
  const QRectF level = m_scene->sceneRect();
  const QRectF r = m_item->sceneBoundingRect();
  b2Vec2 velocity = body->GetLinearVelocity();
  QPointF back(0, 0);
  if (r.left() < level.left())
  {
    back.setX(level.left() - r.left());
    velocity.x = std::max(velocity.x, 0.0f);
  }
  else if (r.right() > level.right())
  {
    back.setX(level.right() - r.right());
    velocity.x = std::min(velocity.x, 0.0f);
  }
  // The bottom stays open: a vehicle may fall out of the level.
  if (r.top() < level.top())
  {
    back.setY(level.top() - r.top());
    velocity.y = std::max(velocity.y, 0.0f);
  }
  if (back.isNull())
    return;
  Object::Move(back.x(), back.y());
  body->SetLinearVelocity(velocity);
}

void Vehicle::placeHolder()
{
  m_holder->MoveTo(getRiderPosition());
}
