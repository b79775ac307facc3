#include "world/EnemyStickman.h"

#include "world/Firearm.h"
#include "world/Object.h"
#include "world/Scene.h"

#include "common/GlobalConstants.h"

#include <QGraphicsItem>

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
ObjectCategory::Type categoryOf(const Object* object)
{
  return object ? object->GetCategory() : ObjectCategory::Other;
}
} // namespace

bool EnemyStickman::ObjectUsefulnessComparer::operator()(const Object* a, const Object* b) const
{
  if (a->GetCategory() == ObjectCategory::ColdWeapon && b->GetCategory() == ObjectCategory::ColdWeapon)
    return GetColdWeaponLength(a) > GetColdWeaponLength(b);
  return m_enemy->getObjectUsefulnessRating(a->GetCategory()) > m_enemy->getObjectUsefulnessRating(b->GetCategory());
}

EnemyStickman::EnemyStickman(Scene* scene)
  : ComputerControlledStickman(scene)
{
}

void EnemyStickman::SetPeaceful(bool peaceful)
{
  m_peaceful = peaceful;
}

void EnemyStickman::GrabItem(Grabable* item)
{
  // Dropping comes here too, with no item.
  ComputerControlledStickman::GrabItem(item);
  const Object* held = heldObject();
  m_coldWeaponReach = categoryOf(held) == ObjectCategory::ColdWeapon
                        ? GetColdWeaponLength(held) * bv::ColdWeaponReachCoefficient
                        : 0;
}

int EnemyStickman::getObjectUsefulnessRating(ObjectCategory::Type type) const
{
  switch (type)
  {
  case ObjectCategory::ColdWeapon:
    return m_peaceful ? 0 : 10;
  case ObjectCategory::Firearm:
    return m_peaceful ? 0 : 100;
  case ObjectCategory::Gift:
    return m_peaceful || isPlayerPeaceful() ? 1000 : 0;
  default:
    return 0;
  }
}

double EnemyStickman::GetColdWeaponLength(const Object* object)
{
  const QRectF r = object->GetItem()->boundingRect();
  return std::max(r.width(), r.height()) * object->GetItem()->scale();
}

void EnemyStickman::makeDecisions(Scene* scene)
{
  const ObjectCategory::Type held = categoryOf(heldObject());
  if (m_peaceful && ObjectCategory::IsWeapon(held))
  {
    DropItem();
    return;
  }
  if (Object* object = findMoreUsefulObject(scene->GetObjectsWithinStickmanReach(this)))
  {
    GrabItem(object->GetGrabable());
    return;
  }
  Stickman* player = scene->GetPlayer();
  if (ObjectCategory::IsWeapon(held) && player && counteractPlayer(player, scene))
    return;
  if (const Object* object = findMoreUsefulObject(scene->GetObjectsNearStickman(this, bv::AIObjectsSearchRadius)))
    stepTowardsObject(object);
}

Object* EnemyStickman::heldObject() const
{
  return dynamic_cast<Object*>(GetGrabbedItem());
}

bool EnemyStickman::isPlayerPeaceful() const
{
  const Stickman* player = m_scene->GetPlayer();
  if (!player)
    return false;
  const ObjectCategory::Type held = categoryOf(dynamic_cast<const Object*>(player->GetGrabbedItem()));
  if (ObjectCategory::IsWeapon(held))
    return false;
  if (held == ObjectCategory::Gift)
    return true;
  return m_scene->GetKilledCount() == 0;
}

Object* EnemyStickman::findMoreUsefulObject(QList<Object*> objects) const
{
  const Object* held = heldObject();
  // Only what can be picked up, is not fading away and beats the held object counts.
  objects.erase(std::remove_if(objects.begin(), objects.end(),
                               [this, held](Object* object) {
                                 return !object->GetGrabable() || object->IsVanished() ||
                                        (held && !m_usefulnessComparer(object, held));
                               }),
                objects.end());
  // The first of the most useful; a scan, since the order is not total (a
  // sword and a box are as useful, and so are a box and a longer sword).
  const auto best = std::min_element(objects.begin(), objects.end(), m_usefulnessComparer);
  if (best == objects.end() || getObjectUsefulnessRating((*best)->GetCategory()) == 0)
    return nullptr;
  return *best;
}

void EnemyStickman::stepTowardsObject(const Object* object)
{
  Move(pos().x() <= object->GetItem()->pos().x() ? Right : Left);
}

bool EnemyStickman::counteractPlayer(Stickman* player, Scene* scene)
{
  const double x = pos().x();
  const double playerX = player->pos().x();
  if ((x > playerX && GetFacingDirection() == Right) || (playerX > x && GetFacingDirection() == Left))
  {
    TurnAround();
    return true;
  }
  // Into the stance with the right leg forward before a blow or a shot.
  if (!IsRightLegLeading())
  {
    Move(GetFacingDirection());
    return true;
  }
  const ObjectCategory::Type held = categoryOf(heldObject());
  const ObjectCategory::Type playerHolds = categoryOf(dynamic_cast<const Object*>(player->GetGrabbedItem()));
  if (held == ObjectCategory::ColdWeapon && playerHolds != ObjectCategory::Vehicle)
  {
    if (m_coldWeaponReach + bv::HandReachDistance < getDistanceToPlayer())
      return false;
    Use();
    return true;
  }
  if (held == ObjectCategory::Firearm)
  {
    const double height = sceneBoundingRect().height();
    const QPointF chest(x, pos().y() - height * 7.0 * 0.125);
    Stickman* victim = nullptr;
    DrawingPrimitive* part = nullptr;
    if (Firearm::FindStickmanToBeShot(chest, GetFacingDirection(), scene, this, victim, part) && victim == player)
    {
      Use();
      return true;
    }
  }
  return false;
}

double EnemyStickman::getDistanceToPlayer() const
{
  const Stickman* player = m_scene->GetPlayer();
  if (!player)
    return std::numeric_limits<double>::max();
  const QPointF d = player->GetActualPos() - GetActualPos();
  return std::abs(d.y()) < bv::StickmanHeightPx ? std::abs(d.x()) : std::numeric_limits<double>::max();
}
