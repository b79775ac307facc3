#pragma once

#include "stickman/JumpManager.h"

#include <QPointF>

class Scene;
class Stickman;

/// The ballistic fall of a stickman: a parabola from where the fall began,
/// straight down along a wall it meets, ending on the first ground line the
/// tick's movement crosses, or in death when the vertical speed passes that of
/// a free fall of 3 metres or the figure leaves the level at its bottom.
class StickmanJumpManager : public JumpManager
{
public:
  /// Neither is owned; the stickman owns the manager.
  StickmanJumpManager(Stickman* stickman, Scene* scene);

  void StartFallingDown(double horizontalSpeed, const QString& grabbedObjectName) override;
  void FinishFallingDown() override;
  bool IsFallingDown() const override;
  void Advance(bool& finished) override;

  /// Vertical speed (m/s) above which a fall kills.
  static double GetCriticalVelocity();

private:
  Stickman* m_stickman;
  Scene* m_scene;
  bool m_falling = false;
  QPointF m_startPos;
  /// Seconds.
  double m_elapsed = 0;
  QPointF m_velocityPx;
  /// Metres per second, y down.
  QPointF m_velocity;
  double m_accelerationPx = 0;
  double m_acceleration = 0;
};
