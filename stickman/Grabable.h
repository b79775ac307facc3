#pragma once

#include "common/Direction.h"

#include <QPointF>
#include <QString>

class Stickman;
class Usable;

/// An item a stickman can hold. The stickman keeps it as a non-owning pointer
/// and drives it through these calls while holding it.
class Grabable
{
public:
  virtual ~Grabable();

  virtual QString GetName() const = 0;
  virtual void OnGrab(Stickman* stickman) = 0;
  virtual void OnRelease() = 0;
  /// Where the holding hand is, in scene coordinates.
  virtual void SetHandPosition(QPointF position) = 0;
  /// Direction of the forearm from elbow to hand, radians (y pointing down).
  virtual void SetArmAngle(double angle) = 0;
  virtual void SetFacingDirection(Direction direction) = 0;
  /// Null when the item cannot be used.
  virtual Usable* GetUsable() = 0;
};
