#include "world/Food.h"

#include "world/Scene.h"

#include "stickman/Stickman.h"

#include <QGraphicsItem>

#include <cstdlib>

Food::Food(const QString& name, QObject* parent)
  : Object(name, ObjectCategory::Food, parent)
  , m_poisonous(name == QLatin1String("mushroom") && std::rand() % 2 == 1)
{
}

void Food::onStickmanAnimationKeyMoment(const QString& animationName, Animation*)
{
  if (animationName != m_usable.animation)
    return;
  m_scene->PlaySound(m_sounds.specialSound, m_item->pos(), 1, false);
  m_item->hide();
  if (m_holder && m_holder == m_scene->GetPlayer())
    m_scene->DisplayComment(tr("Yummy!"));
  if (m_poisonous && m_holder)
    m_scene->KillStickman(m_holder, QPointF(0, 0), QString(), ObjectCategory::Food, QPointF(0, 0));
  Vanish();
}
