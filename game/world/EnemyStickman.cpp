#include "world/EnemyStickman.h"

EnemyStickman::EnemyStickman(Scene* scene)
  : ComputerControlledStickman(scene)
{
}

void EnemyStickman::SetPeaceful(bool peaceful)
{
  m_peaceful = peaceful;
}
