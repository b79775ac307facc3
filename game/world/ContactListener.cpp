#include "world/ContactListener.h"

#include "common/BodyUserData.h"
#include "common/ConvertUtils.h"
#include "common/GlobalConstants.h"
#include "world/Object.h"

#include <box2d/b2_body.h>
#include <box2d/b2_contact.h>
#include <box2d/b2_fixture.h>

#include <cmath>

namespace
{
bool isLiquid(const b2Body* body)
{
  return ExtractLiquidFromBody(body) != nullptr;
}

bool isGround(const b2Body* body)
{
  return body->GetType() == b2_staticBody && !isLiquid(body);
}

// The average of the contact's world points, metres.
b2Vec2 contactPoint(const b2Contact* contact, const b2WorldManifold& manifold)
{
  const int count = contact->GetManifold()->pointCount;
  b2Vec2 sum(0, 0);
  for (int i = 0; i < count; ++i)
    sum += manifold.points[i];
  if (count > 0)
    sum *= 1.0f / count;
  return sum;
}

// The liquid of the pair and the other, dynamic, fixture; false for any other
// pair. Only the water itself counts, not the solid walls and floor that hold
// it: a body against them would otherwise be lifted once more for each.
bool liquidContact(b2Contact* contact, Liquid*& liquid, b2Fixture*& other)
{
  b2Fixture* a = contact->GetFixtureA();
  b2Fixture* b = contact->GetFixtureB();
  if (Liquid* l = ExtractLiquidFromBody(a->GetBody());
      l && a->IsSensor() && b->GetBody()->GetType() == b2_dynamicBody)
  {
    liquid = l;
    other = b;
    return true;
  }
  if (Liquid* l = ExtractLiquidFromBody(b->GetBody());
      l && b->IsSensor() && a->GetBody()->GetType() == b2_dynamicBody)
  {
    liquid = l;
    other = a;
    return true;
  }
  return false;
}
} // namespace

ContactListener::~ContactListener() = default;

void ContactListener::BeginContact(b2Contact* contact)
{
  Liquid* liquid = nullptr;
  b2Fixture* other = nullptr;
  if (liquidContact(contact, liquid, other))
  {
    if (m_liquids)
      m_liquids->OnLiquidContactBegin(liquid, other);
    return;
  }
  b2Body* a = contact->GetFixtureA()->GetBody();
  b2Body* b = contact->GetFixtureB()->GetBody();
  if (a->IsBullet() == b->IsBullet())
    return;
  b2WorldManifold manifold;
  contact->GetWorldManifold(&manifold);
  const b2Vec2 point = contactPoint(contact, manifold);
  if (a->IsBullet())
    processBulletHit(a, b, point);
  else
    processBulletHit(b, a, point);
}

void ContactListener::EndContact(b2Contact* contact)
{
  Liquid* liquid = nullptr;
  b2Fixture* other = nullptr;
  if (liquidContact(contact, liquid, other) && m_liquids)
    m_liquids->OnLiquidContactEnd(liquid, other);
}

void ContactListener::PreSolve(b2Contact* contact, const b2Manifold* oldManifold)
{
  const b2Manifold* manifold = contact->GetManifold();
  if (manifold->pointCount == 0)
    return;
  b2WorldManifold worldManifold;
  contact->GetWorldManifold(&worldManifold);
  b2PointState oldStates[b2_maxManifoldPoints];
  b2PointState newStates[b2_maxManifoldPoints];
  b2GetPointStates(oldStates, newStates, oldManifold, manifold);
  if (newStates[0] != b2_addState)
    return;

  b2Body* a = contact->GetFixtureA()->GetBody();
  b2Body* b = contact->GetFixtureB()->GetBody();
  const b2Vec2 p = worldManifold.points[0];
  const b2Vec2 vA = a->GetLinearVelocityFromWorldPoint(p);
  const b2Vec2 vB = b->GetLinearVelocityFromWorldPoint(p);
  const double approachSpeed = std::abs(b2Dot(vB - vA, worldManifold.normal));
  if (approachSpeed < bv::MinBounceApproachingVelocity)
    return;

  const QPointF point = m2px(Vec2Point(contactPoint(contact, worldManifold)));
  Object* objectA = ExtractObjectFromBody(a);
  Object* objectB = ExtractObjectFromBody(b);
  if (isGround(a))
  {
    if (objectB)
      objectB->OnGroundBounce(point);
  }
  else if (isGround(b))
  {
    if (objectA)
      objectA->OnGroundBounce(point);
  }
  else if (objectA && objectB)
    OnObjectsBounce(objectA, objectB, point);
}

void ContactListener::PostSolve(b2Contact*, const b2ContactImpulse*) {}

void ContactListener::processBulletHit(b2Body* bullet, b2Body* other, const b2Vec2& pointM)
{
  Object* object = ExtractObjectFromBody(bullet);
  if (!object)
    return;
  Stickman* stickman = ExtractStickmanFromBody(other);
  DrawingPrimitive* part = ExtractStickmanPartFromBody(other);
  if (stickman && part)
    object->OnStickmanHit(bullet, stickman, part);
  if (Door* door = ExtractDoorFromBody(other))
    object->OnDoorHit(bullet, door, m2px(Vec2Point(pointM)));
}
