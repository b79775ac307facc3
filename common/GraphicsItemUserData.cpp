#include "common/GraphicsItemUserData.h"

#include <QGraphicsItem>
#include <QVariant>

namespace
{
using Key = GraphicsItemDataKey;

void assign(void* pointer, QGraphicsItem* item, GraphicsItemDataKey key)
{
  item->setData(int(key), QVariant::fromValue(pointer));
}

template <typename T>
T* extract(const QGraphicsItem* item, GraphicsItemDataKey key)
{
  const QVariant value = item->data(int(key));
  if (value.userType() == QMetaType::VoidStar)
    return static_cast<T*>(value.value<void*>());
  QVariant converted = value;
  if (converted.convert(QMetaType::VoidStar))
    return static_cast<T*>(converted.value<void*>());
  return nullptr;
}
} // namespace

void AssignObjectToGraphicsItem(Object* object, QGraphicsItem* item) { assign(object, item, Key::ObjectKey); }
Object* ExtractObjectFromGraphicsItem(const QGraphicsItem* item) { return extract<Object>(item, Key::ObjectKey); }

void AssignStickmanToGraphicsItem(Stickman* stickman, QGraphicsItem* item) { assign(stickman, item, Key::StickmanKey); }
Stickman* ExtractStickmanFromGraphicsItem(const QGraphicsItem* item)
{
  return extract<Stickman>(item, Key::StickmanKey);
}

void AssignStickmanPartToGraphicsItem(DrawingPrimitive* part, QGraphicsItem* item)
{
  assign(part, item, Key::StickmanPartKey);
}
DrawingPrimitive* ExtractStickmanPartFromGraphicsItem(const QGraphicsItem* item)
{
  return extract<DrawingPrimitive>(item, Key::StickmanPartKey);
}

void AssignDoorToGraphicsItem(Door* door, QGraphicsItem* item) { assign(door, item, Key::DoorKey); }
Door* ExtractDoorFromGraphicsItem(const QGraphicsItem* item) { return extract<Door>(item, Key::DoorKey); }

void AssignLadderToGraphicsItem(Ladder* ladder, QGraphicsItem* item) { assign(ladder, item, Key::LadderKey); }
Ladder* ExtractLadderFromGraphicsItem(const QGraphicsItem* item) { return extract<Ladder>(item, Key::LadderKey); }

void AssignInteractiveItemToGraphicsItem(InteractiveItem* interactiveItem, QGraphicsItem* item)
{
  assign(interactiveItem, item, Key::InteractiveItemKey);
}
InteractiveItem* ExtractInteractiveItemFromGraphicsItem(const QGraphicsItem* item)
{
  return extract<InteractiveItem>(item, Key::InteractiveItemKey);
}
