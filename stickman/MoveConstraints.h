#pragma once

#include <QPointF>

class Stickman;

/// The world's say on a stickman's moves, asked before every step and jump.
/// Distances are the stickman's scene pixels.
class MoveConstraints
{
public:
  virtual ~MoveConstraints();

  /// May \a stickman step forward by \a distance (never negative)? \a correction
  /// comes in as (0, 0); a displacement set here is applied before the step.
  virtual bool CanStickmanStep(const Stickman* stickman, double distance, QPointF& correction) const = 0;
  /// May \a stickman jump over \a width x \a height (both never negative)?
  virtual bool CanStickmanJump(const Stickman* stickman, double width, double height) const = 0;
};

/// Allows every move and never corrects.
class NoMoveConstraints : public MoveConstraints
{
public:
  bool CanStickmanStep(const Stickman* stickman, double distance, QPointF& correction) const override;
  bool CanStickmanJump(const Stickman* stickman, double width, double height) const override;
};
