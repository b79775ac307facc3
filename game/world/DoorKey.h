#pragma once

#include "world/UsableObject.h"

/// A key: used on a closed door, it opens it. Used anywhere else, the stickman
/// only turns it in the air.
class DoorKey : public UsableObject
{
  Q_OBJECT

public:
  DoorKey(const QString& name, QObject* parent);

protected:
  void onDoorCollisionWhenUsed(Door* door) override;
};
