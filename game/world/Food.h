#pragma once

#include "world/Object.h"

/// A mushroom, meat, ham or apple: eaten at the key moment of its usage
/// animation. About every second mushroom is poisonous and kills the eater.
class Food : public Object
{
  Q_OBJECT

public:
  Food(const QString& name, QObject* parent);

  bool IsPoisonous() const { return m_poisonous; }

protected slots:
  void onStickmanAnimationKeyMoment(const QString& animationName, Animation* animation) override;

private:
  bool m_poisonous;
};
