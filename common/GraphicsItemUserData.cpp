#include "common/GraphicsItemUserData.h"

#include <QGraphicsItem>
#include <QVariant>

namespace
{
void assign(void* pointer, QGraphicsItem* item, GraphicsItemDataKey key)
{
  item->setData(key, QVariant::fromValue(pointer));
}

template <typename T>
T* extract(const QGraphicsItem* item, GraphicsItemDataKey key)
{
  const QVariant value = item->data(key);
  if (value.userType() == QMetaType::VoidStar)
    return static_cast<T*>(value.value<void*>());
  QVariant converted = value;
  if (converted.convert(QMetaType::VoidStar))
    return static_cast<T*>(converted.value<void*>());
  return nullptr;
}
} // namespace

void AssignObjectToGraphicsItem(Object* object, QGraphicsItem* item) { assign(object, item, ObjectKey); }
Object* ExtractObjectFromGraphicsItem(const QGraphicsItem* item) { return extract<Object>(item, ObjectKey); }

void AssignStickmanToGraphicsItem(Stickman* stickman, QGraphicsItem* item) { assign(stickman, item, StickmanKey); }
Stickman* ExtractStickmanFromGraphicsItem(const QGraphicsItem* item) { return extract<Stickman>(item, StickmanKey); }

void AssignStickmanPartToGraphicsItem(DrawingPrimitive* part, QGraphicsItem* item)
{
  assign(part, item, StickmanPartKey);
}
DrawingPrimitive* ExtractStickmanPartFromGraphicsItem(const QGraphicsItem* item)
{
  return extract<DrawingPrimitive>(item, StickmanPartKey);
}

void AssignDoorToGraphicsItem(Door* door, QGraphicsItem* item) { assign(door, item, DoorKey); }
Door* ExtractDoorFromGraphicsItem(const QGraphicsItem* item) { return extract<Door>(item, DoorKey); }

void AssignLadderToGraphicsItem(Ladder* ladder, QGraphicsItem* item) { assign(ladder, item, LadderKey); }
Ladder* ExtractLadderFromGraphicsItem(const QGraphicsItem* item) { return extract<Ladder>(item, LadderKey); }

void AssignInteractiveItemToGraphicsItem(InteractiveItem* interactiveItem, QGraphicsItem* item)
{
  assign(interactiveItem, item, InteractiveItemKey);
}
InteractiveItem* ExtractInteractiveItemFromGraphicsItem(const QGraphicsItem* item)
{
  return extract<InteractiveItem>(item, InteractiveItemKey);
}
