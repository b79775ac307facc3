#pragma once

#include "world/UsableObject.h"

/// A spear, axe, pollaxe, sabre or sword: from the key moment of its swing
/// until the swing ends it kills every other stickman it touches, unless a
/// shield held against it turns the swing back first. A closed door it hits
/// turns the swing back too, until the door breaks.
class ColdWeapon : public UsableObject
{
  Q_OBJECT

public:
  ColdWeapon(const QString& name, QObject* parent);

protected slots:
  void onStickmanAnimationKeyMoment(const QString& animationName, Animation* animation) override;

protected:
  void onStickmanCollisionWhenUsed(Stickman* stickman, DrawingPrimitive* part) override;
  void onObjectCollisionWhenUsed(Object* object) override;
  void onDoorCollisionWhenUsed(Door* door) override;
};
