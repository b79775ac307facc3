#include "world/ColdWeapon.h"

#include "world/Scene.h"

#include "common/GlobalConstants.h"
#include "stickman/DrawingPrimitive.h"
#include "stickman/Stickman.h"

#include <QGraphicsItem>

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
