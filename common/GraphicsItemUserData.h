#pragma once

class QGraphicsItem;
class Object;
class Stickman;
class DrawingPrimitive;
class Door;
class Ladder;
class InteractiveItem;

/// Keys of the back-pointers stored with QGraphicsItem::setData; one item may
/// carry several, under different keys. Scoped: the names are the game's class names' too.
enum class GraphicsItemDataKey
{
  ObjectKey = 0,
  StickmanKey = 1,
  StickmanPartKey = 2,
  DoorKey = 3,
  LadderKey = 4,
  InteractiveItemKey = 5
};

// Extract functions give null for an item that carries no such tag.
void AssignObjectToGraphicsItem(Object* object, QGraphicsItem* item);
Object* ExtractObjectFromGraphicsItem(const QGraphicsItem* item);
void AssignStickmanToGraphicsItem(Stickman* stickman, QGraphicsItem* item);
Stickman* ExtractStickmanFromGraphicsItem(const QGraphicsItem* item);
void AssignStickmanPartToGraphicsItem(DrawingPrimitive* part, QGraphicsItem* item);
DrawingPrimitive* ExtractStickmanPartFromGraphicsItem(const QGraphicsItem* item);
void AssignDoorToGraphicsItem(Door* door, QGraphicsItem* item);
Door* ExtractDoorFromGraphicsItem(const QGraphicsItem* item);
void AssignLadderToGraphicsItem(Ladder* ladder, QGraphicsItem* item);
Ladder* ExtractLadderFromGraphicsItem(const QGraphicsItem* item);
void AssignInteractiveItemToGraphicsItem(InteractiveItem* interactiveItem, QGraphicsItem* item);
InteractiveItem* ExtractInteractiveItemFromGraphicsItem(const QGraphicsItem* item);
