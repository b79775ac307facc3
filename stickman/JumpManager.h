#pragma once

class QString;

/// Moves a stickman physically while it is airborne. Set on a stickman with
/// Stickman::SetJumpManager, which takes ownership.
class JumpManager
{
public:
  virtual ~JumpManager();

  /// The airborne phase begins. \a horizontalSpeed is in metres per second and
  /// never negative (the stickman's facing direction gives the sign);
  /// \a grabbedObjectName is the held item's name, empty when nothing is held.
  virtual void StartFallingDown(double horizontalSpeed, const QString& grabbedObjectName) = 0;
  virtual void FinishFallingDown() = 0;
  virtual bool IsFallingDown() const = 0;
  /// One tick of the fall, called first in every non-zero phase of the
  /// stickman's advance. Sets \a finished on the tick the fall ends (landing or
  /// death); the stickman then does nothing else in that tick.
  virtual void Advance(bool& finished) = 0;
};
