#pragma once

#include "world/ComputerControlledStickman.h"

/// A hostile stickman ("enemy" in a level file). It can be made peaceful; it
/// takes no decisions yet.
class EnemyStickman : public ComputerControlledStickman
{
  Q_OBJECT

public:
  explicit EnemyStickman(Scene* scene);

  void SetPeaceful(bool peaceful) override;
  bool IsPeaceful() const { return m_peaceful; }

private:
  bool m_peaceful = false;
};
