#include "world/LiquidSimulator.h"

#include "audio/SoundManager.h"
#include "common/BodyUserData.h"
#include "common/ConvertUtils.h"
#include "common/GlobalConstants.h"

#include <box2d/b2_body.h>
#include <box2d/b2_fixture.h>
#include <box2d/b2_polygon_shape.h>
#include <box2d/b2_world.h>

#include <algorithm>
#include <cfloat>

namespace
{
const b2Vec2 Gravity(0, float(bv::FreeFallAcceleration));

// A force that would more than stop the motion within one tick would throw a
// small body back the way it came, faster each tick: the braking force is
// limited to what brings the motion to rest in one tick.
float limitedBrake(float wanted, float inertia, float speed)
{
  return std::min(wanted, float(inertia * speed / bv::TickIntervalSec));
}
} // namespace

void Liquid::OnContactBegin(b2Fixture* fixture)
{
  b2Body* body = fixture->GetBody();
  for (ContactGroup& group : m_contacts)
    if (group.body == body)
    {
      group.fixtures.append(fixture);
      return;
    }
  m_contacts.append({body, {fixture}});
  // Once when a body enters, not for each of its fixtures.
  if (m_soundManager)
    m_soundManager->PlaySound(m_splashSound, Vec2Point(body->GetPosition()), 1.0, false);
}

void Liquid::OnContactEnd(b2Fixture* fixture)
{
  b2Body* body = fixture->GetBody();
  for (int i = 0; i < m_contacts.size(); ++i)
  {
    if (m_contacts[i].body != body)
      continue;
    m_contacts[i].fixtures.removeAll(fixture);
    if (m_contacts[i].fixtures.isEmpty())
      m_contacts.removeAt(i);
    return;
  }
}

void Liquid::Advance()
{
  const float density = float(m_density);
  for (const ContactGroup& group : qAsConst(m_contacts))
  {
    b2Body* body = group.body;
    const bool dynamic = body->GetType() == b2_dynamicBody;
    float area = 0;
    for (b2Fixture* fixture : group.fixtures)
    {
      b2MassData mass;
      fixture->GetShape()->ComputeMass(&mass, fixture->GetDensity());
      const float fixtureArea = fixture->GetDensity() > 0 ? mass.mass / fixture->GetDensity() : 0;
      area += fixtureArea;
      if (dynamic)
      {
        body->SetAwake(true);
        body->ApplyForce(-density * fixtureArea * Gravity, body->GetWorldPoint(mass.center), true);
      }
    }
    if (!dynamic)
      continue;
    body->SetAwake(true);
    // Quadratic drag against the motion, and the turning damped by the area under water.
    const b2Vec2 velocity = body->GetLinearVelocity();
    const float speed = velocity.Length();
    if (speed >= FLT_EPSILON)
    {
      const float drag = limitedBrake(density * speed * speed, body->GetMass(), speed);
      body->ApplyForceToCenter(-(drag / speed) * velocity, true);
    }
    const float spin = body->GetAngularVelocity();
    const float damping = limitedBrake(area * std::abs(spin), body->GetInertia(), std::abs(spin));
    body->ApplyTorque(spin > 0 ? -damping : damping, true);
  }
}

LiquidSimulator::LiquidSimulator(b2World* world)
  : m_world(world)
{
}

LiquidSimulator::~LiquidSimulator()
{
  qDeleteAll(m_liquids);
}

Liquid* LiquidSimulator::AddRegion(const QRectF& area, double density, const QString& splashSoundName)
{
  auto* liquid = new Liquid;
  liquid->m_area = area;
  liquid->m_density = density;
  liquid->m_soundManager = m_soundManager;
  liquid->m_splashSound = m_soundManager ? m_soundManager->Name2Type(splashSoundName) : -1;

  b2BodyDef bodyDef;
  bodyDef.position = Point2Vec(area.center());
  liquid->m_body = m_world->CreateBody(&bodyDef);
  b2PolygonShape box;
  box.SetAsBox(float(area.width() / 2), float(area.height() / 2));
  b2FixtureDef fixtureDef;
  fixtureDef.shape = &box;
  fixtureDef.isSensor = true;
  liquid->m_body->CreateFixture(&fixtureDef);
  AssignLiquidToBody(liquid, liquid->m_body);
  m_liquids.append(liquid);
  return liquid;
}

void LiquidSimulator::Advance()
{
  for (Liquid* liquid : qAsConst(m_liquids))
    liquid->Advance();
}

void LiquidSimulator::ClearRegions()
{
  for (Liquid* liquid : qAsConst(m_liquids))
  {
    DestroyBodyUserData(liquid->m_body);
    m_world->DestroyBody(liquid->m_body);
    delete liquid;
  }
  m_liquids.clear();
}

void LiquidSimulator::OnLiquidContactBegin(Liquid* liquid, b2Fixture* fixture)
{
  liquid->OnContactBegin(fixture);
}

void LiquidSimulator::OnLiquidContactEnd(Liquid* liquid, b2Fixture* fixture)
{
  liquid->OnContactEnd(fixture);
}
