#include "world/ColdWeapon.h"

#include "world/Door.h"
#include "world/Scene.h"

#include "common/ConvertUtils.h"
#include "common/GlobalConstants.h"
#include "stickman/DrawingPrimitive.h"
#include "stickman/Stickman.h"

#include <box2d/b2_body.h>

#include <QGraphicsItem>

namespace
{
// A closed door breaks at the third blow, unless it is denser than the
// default material: a blade bites less into it the denser it is, and a stone
// gate takes eight blows (a bomb's blast does not care).
constexpr double DoorDamage = 0.35;
constexpr double SoftDoorDensity = 1.0;

double blowDamage(const Door* door)
{
  const double density = door->GetMaterial().density;
  return density > SoftDoorDensity ? DoorDamage * SoftDoorDensity / density : DoorDamage;
}
} // namespace

ColdWeapon::ColdWeapon(const QString& name, QObject* parent)
  : UsableObject(name, ObjectCategory::ColdWeapon, parent)
{
}

void ColdWeapon::onStickmanAnimationKeyMoment(const QString& animationName, Animation* animation)
{
  UsableObject::onStickmanAnimationKeyMoment(animationName, animation);
  // The axe's blow has its sound in its bounce; it swings silently.
  if (animationName == m_usable.animation && m_name != QLatin1String("axe"))
    m_scene->PlaySound(m_sounds.specialSound, m_item->pos(), 1, false);
}

void ColdWeapon::onStickmanCollisionWhenUsed(Stickman* stickman, DrawingPrimitive* part)
{
  if (!m_inUse || !m_holder)
    return;
  QPointF impulse = bv::ColdWeaponKillImpulse;
  if (m_holder->pos().x() > stickman->pos().x())
    impulse.setX(-impulse.x());
  // The weapon stays in use: one swing can go through several stickmen.
  m_scene->KillStickman(stickman, impulse, part->GetName(), ObjectCategory::ColdWeapon, QPointF());
}

void ColdWeapon::onObjectCollisionWhenUsed(Object* object)
{
  if (!m_inUse || !m_holder || object->GetCategory() != ObjectCategory::Shield)
    return;
  // Only a shield whose holder faces the attacker turns the blow back.
  const Stickman* defender = object->GetHolder();
  if (!defender || defender->GetFacingDirection() == m_holder->GetFacingDirection())
    return;
  m_scene->PlaySound(m_sounds.bounceSound, object->GetItem()->pos(), m_sounds.bounceGain, false);
  m_holder->RevertCurrentAnimation();
  m_inUse = false;
}

void ColdWeapon::onDoorCollisionWhenUsed(Door* door)
{
  if (!m_inUse || !m_holder || !door->IsClosed())
    return;
  const double doorX = door->GetGroundPos().x();
  const bool fromTheLeft = m_holder->pos().x() <= doorX;
  Object* fragment = door->TakeDamage(blowDamage(door), fromTheLeft ? Right : Left);
  if (!fragment)
  {
    m_scene->PlaySound(door->GetSounds().hit, m_item->pos(), 1, false);
    m_holder->RevertCurrentAnimation();
    m_inUse = false;
    return;
  }
  // The weapon stays in use; the fragment flies away from the attacker, pushed high.
  m_scene->PlaySound(door->GetSounds().smash, m_item->pos(), 1, false);
  b2Body* body = fragment->GetBody();
  if (!body || body->GetType() != b2_dynamicBody)
    return;
  QPointF impulse = bv::DoorSmashImpulse;
  if (!fromTheLeft)
    impulse.setX(-impulse.x());
  const QRectF r = fragment->GetItem()->sceneBoundingRect();
  const QPointF point(r.center().x(), r.top() + r.height() / 4);
  body->SetAwake(true);
  body->ApplyLinearImpulse(Point2Vec(impulse), Point2Vec(px2m(point)), true);
}
