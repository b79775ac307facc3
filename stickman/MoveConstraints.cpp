#include "stickman/MoveConstraints.h"

MoveConstraints::~MoveConstraints() = default;

bool NoMoveConstraints::CanStickmanStep(const Stickman*, double, QPointF&) const
{
  return true;
}

bool NoMoveConstraints::CanStickmanJump(const Stickman*, double, double) const
{
  return true;
}
