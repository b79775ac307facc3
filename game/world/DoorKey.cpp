#include "world/DoorKey.h"

#include "world/Door.h"
#include "world/Scene.h"

#include <QGraphicsItem>

DoorKey::DoorKey(const QString& name, QObject* parent)
  : UsableObject(name, ObjectCategory::Key, parent)
{
}

void DoorKey::onDoorCollisionWhenUsed(Door* door)
{
  if (!door->IsClosed())
    return;
  door->Open();
  m_scene->PlaySound(door->GetSounds().open, m_item->pos(), 1, false);
  m_inUse = false;
}
