#include "world/Bomb.h"

#include "world/Door.h"
#include "world/Scene.h"

#include "common/BodyUserData.h"
#include "common/ConvertUtils.h"
#include "common/FastTrigonometry.h"
#include "common/GlobalConstants.h"
#include "stickman/DrawingPrimitive.h"
#include "stickman/Ragdoll.h"

#include <box2d/b2_body.h>
#include <box2d/b2_circle_shape.h>
#include <box2d/b2_fixture.h>
#include <box2d/b2_world.h>

#include <QBrush>
#include <QGraphicsEllipseItem>
#include <QGraphicsPathItem>
#include <QPainterPath>
#include <QPen>
#include <QRadialGradient>

namespace
{
const double ParticleRadiusM = px2m(2.0);
constexpr double ParticleSpeed = 50.0;
constexpr double ExplosionDurationSec = 0.5;
constexpr double ParticleDoorDamage = 0.35;
// The flash: a ragged star this many pixels across its longest rays, which
// swells from BlastStartScale to BlastStartScale + BlastGrowth as it fades.
constexpr double BlastRadiusPx = 70;
constexpr double BlastStartScale = 0.5;
constexpr double BlastGrowth = 1.0;

// A hand-drawn burst: rays of uneven length around a hot centre.
QPainterPath blastPath()
{
  constexpr int Rays = 11;
  static const double reach[Rays] = {1.0, 0.8, 0.95, 0.7, 1.0, 0.85, 0.75, 1.0, 0.8, 0.9, 0.7};
  QPainterPath path;
  for (int i = 0; i < 2 * Rays; ++i)
  {
    const double r = BlastRadiusPx * (i % 2 ? 0.45 : reach[i / 2]);
    const double a = i * (180.0 / Rays) + (i % 2 ? 0 : 4 * (i % 3) - 4);
    const QPointF point(r * FastSafeCos(a), r * FastSafeSin(a));
    if (i == 0)
      path.moveTo(point);
    else
      path.lineTo(point);
  }
  path.closeSubpath();
  return path;
}

// The first stickman part on a particle's way: stickmen have sensor bodies,
// which Box2D's continuous collision passes through, so the way is swept.
class StickmanOnTheWay : public b2RayCastCallback
{
public:
  float ReportFixture(b2Fixture* fixture, const b2Vec2&, const b2Vec2&, float fraction) override
  {
    b2Body* body = fixture->GetBody();
    Stickman* found = ExtractStickmanFromBody(body);
    DrawingPrimitive* foundPart = ExtractStickmanPartFromBody(body);
    if (!found || !foundPart)
      return -1;
    stickman = found;
    part = foundPart;
    return fraction;
  }

  Stickman* stickman = nullptr;
  DrawingPrimitive* part = nullptr;
};

void push(b2Body* body, const b2Vec2& impulse, const b2Vec2& point)
{
  if (body->GetType() != b2_dynamicBody)
    return;
  body->SetAwake(true);
  body->ApplyLinearImpulse(impulse, point, true);
}
} // namespace

Bomb::Bomb(const QString& name, QObject* parent)
  : Object(name, ObjectCategory::Bomb, parent)
{
  InitFastTrigonometry();
}

Bomb::~Bomb()
{
  destroyAllParticles();
  removeBlast();
}

void Bomb::Advance()
{
  if (m_vanished)
    return;
  if (!m_exploded)
  {
    Object::Advance();
    // The fuse burns only while the bomb is free in the world, not in a hand.
    if (m_physics.body)
    {
      m_fuse -= bv::TickIntervalSec;
      if (m_fuse <= 0)
        explode();
    }
    return;
  }

  sweepParticles();
  while (!m_hits.isEmpty())
  {
    const HitInfo hit = m_hits.takeFirst();
    if (hit.stickman)
      processStickmanHit(hit);
    else if (hit.door)
      processDoorHit(hit);
    destroyParticle(hit.body);
  }
  for (const ParticleInfo& particle : qAsConst(m_particles))
    particle.item->setPos(m2px(Vec2Point(particle.body->GetPosition())));

  m_explosionTime += bv::TickIntervalSec;
  if (m_explosionTime >= ExplosionDurationSec)
  {
    m_exploded = false;
    destroyAllParticles();
    removeBlast();
    Vanish();
    return;
  }
  const double progress = m_explosionTime / ExplosionDurationSec;
  m_blast->setScale(BlastStartScale + BlastGrowth * progress);
  m_blast->setOpacity(1 - progress);
}

void Bomb::OnStickmanHit(b2Body* body, Stickman* stickman, DrawingPrimitive* part)
{
  if (hasHit(body))
    return;
  HitInfo hit;
  hit.body = body;
  hit.impulse = body->GetMass() * body->GetLinearVelocity();
  hit.stickman = stickman;
  hit.partName = part->GetName();
  m_hits.append(hit);
}

void Bomb::OnDoorHit(b2Body* body, Door* door, const QPointF& point)
{
  if (hasHit(body))
    return;
  HitInfo hit;
  hit.body = body;
  hit.impulse = body->GetMass() * body->GetLinearVelocity();
  hit.door = door;
  hit.point = point;
  m_hits.append(hit);
}

QList<b2Body*> Bomb::GetParticleBodies() const
{
  QList<b2Body*> bodies;
  for (const ParticleInfo& particle : m_particles)
    bodies.append(particle.body);
  return bodies;
}

void Bomb::explode()
{
  stopPhysicsSimulation();
  m_item->hide();
  const QPointF c = m_item->sceneBoundingRect().center();
  const b2Vec2 cm = Point2Vec(px2m(c));
  m_scene->PlaySound(m_sounds.specialSound, c, 1, false);
  destroyAllParticles();
  for (int i = 0; i < ParticleCount; ++i)
  {
    const double a = i * (360.0 / ParticleCount);
    b2BodyDef definition;
    definition.type = b2_dynamicBody;
    definition.position = cm;
    definition.linearVelocity = b2Vec2(float(FastCos(a) * ParticleSpeed), float(FastSin(a) * ParticleSpeed));
    definition.linearDamping = 10;
    definition.angularDamping = 0;
    definition.fixedRotation = true;
    definition.bullet = true;
    definition.gravityScale = 0;
    definition.awake = true;
    definition.allowSleep = true;
    b2Body* body = m_scene->GetWorld()->CreateBody(&definition);

    b2CircleShape circle;
    circle.m_radius = float(ParticleRadiusM);
    b2FixtureDef fixture;
    fixture.shape = &circle;
    fixture.friction = 0;
    fixture.restitution = 0.99f;
    fixture.density = 5;
    // Particles never meet one another.
    fixture.filter.groupIndex = bv::BombParticlesFilterGroup;
    body->CreateFixture(&fixture);

    QGraphicsEllipseItem* item = m_scene->addEllipse(QRectF(-2, -2, 4, 4), QPen(Qt::black), QBrush(Qt::black));
    item->setPos(c);
    item->setZValue(bv::ObjectsZValue);
    AssignObjectToBody(this, body);
    m_particles.append({body, item});
  }
  showBlast(c);
  m_exploded = true;
  m_explosionTime = 0;
}

void Bomb::showBlast(const QPointF& centre)
{
  removeBlast();
  QRadialGradient fire(QPointF(0, 0), BlastRadiusPx);
  fire.setColorAt(0, QColor(255, 255, 220));
  fire.setColorAt(0.3, QColor(255, 214, 64));
  fire.setColorAt(0.7, QColor(240, 110, 20));
  fire.setColorAt(1, QColor(200, 40, 10));
  auto* blast = new QGraphicsPathItem(blastPath());
  blast->setBrush(fire);
  blast->setPen(QPen(QColor(60, 30, 10), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  blast->setPos(centre);
  blast->setScale(BlastStartScale);
  // In front of the objects and the figures it engulfs, behind the foreground.
  blast->setZValue(bv::ObjectsZValue + 0.5);
  m_scene->addItem(blast);
  m_blast = blast;
}

void Bomb::removeBlast()
{
  delete m_blast;
  m_blast = nullptr;
}

void Bomb::sweepParticles()
{
  // Each particle's item is still where its body was a tick ago.
  for (const ParticleInfo& particle : qAsConst(m_particles))
  {
    const b2Vec2 from = Point2Vec(px2m(particle.item->pos()));
    const b2Vec2 to = particle.body->GetPosition();
    if (b2DistanceSquared(from, to) <= b2_epsilon)
      continue;
    StickmanOnTheWay onTheWay;
    m_scene->GetWorld()->RayCast(&onTheWay, from, to);
    if (onTheWay.stickman)
      OnStickmanHit(particle.body, onTheWay.stickman, onTheWay.part);
  }
}

void Bomb::processStickmanHit(const HitInfo& hit)
{
  Ragdoll* ragdoll =
      m_scene->KillStickman(hit.stickman, QPointF(0, 0), QString(), ObjectCategory::Other, QPointF(0, 0));
  if (!ragdoll)
    return;
  // Every particle that reached the body in this tick pushes its own part.
  QList<HitInfo> hits = takeHits([&hit](const HitInfo& other) { return other.stickman == hit.stickman; });
  hits.prepend(hit);
  for (const HitInfo& h : qAsConst(hits))
    if (const Ragdoll::Element* element = ragdoll->FindElementByName(h.partName))
      push(element->body, h.impulse, element->body->GetWorldCenter());
}

void Bomb::processDoorHit(const HitInfo& hit)
{
  Door* door = hit.door;
  // A door broken earlier in this tick (by another bomb) is a fragment already.
  if (door->IsBroken())
    return;
  Object* fragment = door->TakeDamage(ParticleDoorDamage, hit.point.x() < door->GetGroundPos().x() ? Right : Left);
  if (!fragment)
  {
    m_scene->PlaySound(door->GetSounds().hit, hit.point, 1, false);
    return;
  }
  m_scene->PlaySound(door->GetSounds().smash, hit.point, 1, false);
  QList<HitInfo> hits = takeHits([door](const HitInfo& other) { return other.door == door; });
  hits.prepend(hit);
  if (b2Body* body = fragment->GetBody())
    for (const HitInfo& h : qAsConst(hits))
      push(body, h.impulse, Point2Vec(px2m(h.point)));
}

bool Bomb::hasHit(const b2Body* body) const
{
  for (const HitInfo& hit : m_hits)
    if (hit.body == body)
      return true;
  return false;
}

template <typename Predicate>
QList<Bomb::HitInfo> Bomb::takeHits(Predicate matches)
{
  QList<HitInfo> taken;
  for (auto it = m_hits.begin(); it != m_hits.end();)
  {
    if (matches(*it))
    {
      taken.append(*it);
      destroyParticle(it->body);
      it = m_hits.erase(it);
    }
    else
      ++it;
  }
  return taken;
}

void Bomb::destroyParticle(b2Body* body)
{
  for (int i = 0; i < m_particles.size(); ++i)
  {
    if (m_particles[i].body != body)
      continue;
    DestroyBodyUserData(body);
    m_scene->GetWorld()->DestroyBody(body);
    delete m_particles[i].item;
    m_particles.removeAt(i);
    return;
  }
}

void Bomb::destroyAllParticles()
{
  while (!m_particles.isEmpty())
    destroyParticle(m_particles.first().body);
}
