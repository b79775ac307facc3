#include "world/Firearm.h"

#include "world/Scene.h"

#include "common/GlobalConstants.h"
#include "common/GraphicsItemUserData.h"
#include "stickman/DrawingPrimitive.h"
#include "stickman/Stickman.h"

#include <QGraphicsItem>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

Firearm::Firearm(const QString& name, QObject* parent)
  : Object(name, ObjectCategory::Firearm, parent)
{
}

bool Firearm::FindStickmanToBeShot(QPointF origin, Direction direction, const Scene* scene, const Stickman* shooter,
                                   Stickman*& victim, DrawingPrimitive*& part)
{
  const double end = direction == Left ? scene->sceneRect().left() : scene->sceneRect().right();
  QPainterPath line(origin);
  line.lineTo(end, origin.y());
  // Only stickmen stop a shot, so only their parts are measured against the
  // line, nearest first, and only until one is hit: the exact shapes are costly.
  // (A rectangle without height would meet nothing.)
  const QRectF around(QPointF(std::min(origin.x(), end), origin.y() - 0.5),
                      QPointF(std::max(origin.x(), end), origin.y() + 0.5));
  QList<QGraphicsItem*> items = scene->items(around, Qt::IntersectsItemBoundingRect, Qt::DescendingOrder);
  // Of two items as far away, the one later in the scene's list is met first.
  std::reverse(items.begin(), items.end());
  std::stable_sort(items.begin(), items.end(), [origin](const QGraphicsItem* a, const QGraphicsItem* b) {
    return std::abs(a->scenePos().x() - origin.x()) < std::abs(b->scenePos().x() - origin.x());
  });
  for (QGraphicsItem* item : qAsConst(items))
  {
    DrawingPrimitive* hit = ExtractStickmanPartFromGraphicsItem(item);
    Stickman* stickman = hit ? ExtractStickmanFromGraphicsItem(item->topLevelItem()) : nullptr;
    // A killed stickman is only a picture until it goes at the end of the tick.
    if (stickman && stickman != shooter && !stickman->IsKilled() &&
        item->collidesWithPath(item->mapFromScene(line), Qt::IntersectsItemShape))
    {
      victim = stickman;
      part = hit;
      return true;
    }
  }
  return false;
}

void Firearm::onStickmanAnimationKeyMoment(const QString& animationName, Animation*)
{
  if (animationName == m_usable.animation)
    fire();
}

void Firearm::fire()
{
  if (!m_holder)
    return;
  m_scene->PlaySound(m_sounds.specialSound, m_item->pos(), 1, false);
  Stickman* victim = nullptr;
  DrawingPrimitive* part = nullptr;
  if (!FindStickmanToBeShot(m_item->pos() + m_holdingPoint, m_facingDirection, m_scene, m_holder, victim, part))
    return;
  QPointF impulse = bv::FirearmKillImpulse;
  if (m_facingDirection == Left)
    impulse.setX(-impulse.x());
  m_scene->KillStickman(victim, impulse, part->GetName(), ObjectCategory::Firearm, QPointF());
}
