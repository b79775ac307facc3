#pragma once

#include "world/Vehicle.h"

/// Lifts off with Up and flies left and right; on the ground it only creeps
/// sideways. Nothing holds it up but the pushes of its rider: left alone or
/// abandoned in the air, it falls.
class Helicopter : public Vehicle
{
  Q_OBJECT

public:
  explicit Helicopter(QObject* parent);

protected:
  QPointF getMoveImpulse(Direction direction) const override;

private:
  bool isOnGround() const;
};
