#pragma once

#include "world/Level.h"

#include <QString>

class Object;
class QGraphicsPixmapItem;
class Scene;

/// A piece of level scenery that is a picture, not a physical object, and may
/// react when an object in use touches it. This one only shows its picture.
class InteractiveItem
{
public:
  /// A tree for "tree", else a plain picture; owned by the caller.
  static InteractiveItem* Create(const QString& type);

  InteractiveItem();
  /// Deletes the pictures.
  virtual ~InteractiveItem();

  /// Adds the item's picture, and its blurred twin, to \a scene.
  virtual void Init(Scene* scene, const Level::InteractiveItem& info);
  virtual void Advance() {}
  /// \a object, in use, started or stopped touching the item.
  virtual void OnTouchStarted(Object* object);
  virtual void OnTouchFinished(Object* object);
  virtual void Blur();
  virtual void Unblur();
  /// Once: leaves the scene's list and fades its picture out; the scene's
  /// vanisher deletes the item afterwards.
  virtual void Vanish();

  /// Unique over the program's life.
  int GetId() const { return m_id; }
  bool IsVanished() const { return m_vanished; }
  /// Owned by the item.
  QGraphicsPixmapItem* GetItem() const { return m_item; }

protected:
  bool m_vanished = false;
  Scene* m_scene = nullptr;
  QGraphicsPixmapItem* m_item = nullptr;
  QGraphicsPixmapItem* m_blurredItem = nullptr;

private:
  static int nextId;
  int m_id;
};
