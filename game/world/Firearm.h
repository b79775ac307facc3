#pragma once

#include "world/Object.h"

/// A submachine gun, assault rifle or pistol: every key moment of its firing
/// animation is one shot along a horizontal line from the hand, which kills
/// the nearest other stickman on it. Nothing else stops a shot.
class Firearm : public Object
{
  Q_OBJECT

public:
  Firearm(const QString& name, QObject* parent);

  /// The nearest living stickman other than \a shooter that the horizontal
  /// line from \a origin (scene pixels) to the scene's edge in \a direction
  /// crosses, with the part of it that is hit; false when there is none.
  static bool FindStickmanToBeShot(QPointF origin, Direction direction, const Scene* scene, const Stickman* shooter,
                                   Stickman*& victim, DrawingPrimitive*& part);

protected slots:
  void onStickmanAnimationKeyMoment(const QString& animationName, Animation* animation) override;

private:
  void fire();
};
