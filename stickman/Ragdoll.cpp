#include "stickman/Ragdoll.h"

#include "common/Angles.h"
#include "common/ConvertUtils.h"

#include <box2d/b2_body.h>
#include <box2d/b2_revolute_joint.h>
#include <box2d/b2_world.h>

#include <QGraphicsItem>

#include <cmath>

Ragdoll::Ragdoll(QObject* parent)
  : QObject(parent)
{
}

Ragdoll::~Ragdoll()
{
  for (Element& element : m_elements)
  {
    qDeleteAll(element.graphicsItems);
    if (element.body && m_world)
      m_world->DestroyBody(element.body);
  }
}

void Ragdoll::Init(const QMap<QString, Element>& elements, const QList<JointInfo>& joints, Direction direction,
                   b2World* world)
{
  m_elements = elements;
  m_world = world;
  createJoints(joints, direction);
}

const Ragdoll::Element* Ragdoll::FindElementByName(const QString& name) const
{
  const auto it = m_elements.constFind(name);
  return it != m_elements.constEnd() ? &it.value() : nullptr;
}

void Ragdoll::Advance()
{
  for (const Element& element : m_elements)
  {
    if (!element.body)
      continue;
    const QPointF position = m2px(Vec2Point(element.body->GetPosition()));
    const double angle = Radians2Degrees(element.body->GetAngle());
    for (QGraphicsItem* item : element.graphicsItems)
    {
      item->setPos(position);
      item->setRotation(angle);
    }
  }
}

void Ragdoll::createJoints(const QList<JointInfo>& joints, Direction direction)
{
  if (!m_world)
    return;
  for (const JointInfo& info : joints)
  {
    const auto a = m_elements.constFind(info.elementA);
    const auto b = m_elements.constFind(info.elementB);
    // Box2D aborts on a joint between a body and itself.
    if (a == m_elements.constEnd() || b == m_elements.constEnd() || !a->body || !b->body || a->body == b->body)
      continue;
    const auto anchorA = a->anchors.constFind(info.anchor);
    const auto anchorB = b->anchors.constFind(info.anchor);
    if (anchorA == a->anchors.constEnd() || anchorB == b->anchors.constEnd())
      continue;

    b2RevoluteJointDef definition;
    definition.bodyA = a->body;
    definition.bodyB = b->body;
    definition.collideConnected = false;
    definition.localAnchorA = Point2Vec(anchorA.value());
    definition.localAnchorB = Point2Vec(anchorB.value());
    definition.referenceAngle = 0;
    definition.enableLimit = true;
    definition.enableMotor = false;
    definition.motorSpeed = 0;
    definition.maxMotorTorque = 0;
    if (direction == Left)
    {
      definition.lowerAngle = float(-std::abs(info.upperLimit));
      definition.upperAngle = float(std::abs(info.lowerLimit));
    }
    else
    {
      definition.lowerAngle = float(info.lowerLimit);
      definition.upperAngle = float(info.upperLimit);
    }
    m_world->CreateJoint(&definition);
  }
}
