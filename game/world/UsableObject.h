#pragma once

#include "world/Object.h"

/// An object that is in use from the key moment of its usage animation until
/// the animation finishes or the object is released; it reports what it
/// touches meanwhile.
class UsableObject : public Object
{
  Q_OBJECT

public:
  UsableObject(const QString& name, ObjectCategory::Type category, QObject* parent);

  bool IsInUse() const override;
  void OnRelease() override;

protected slots:
  void onStickmanAnimationKeyMoment(const QString& animationName, Animation* animation) override;
  void onStickmanAnimationFinished(const QString& animationName, Animation* animation) override;

protected:
  bool m_inUse = false;
};
