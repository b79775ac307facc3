#include "world/ComputerControlledStickman.h"

#include "world/Scene.h"

ComputerControlledStickman::ComputerControlledStickman(Scene* scene)
  : Stickman(nullptr, scene, scene)
  , m_scene(scene)
{
}

void ComputerControlledStickman::SetPeaceful(bool) {}

void ComputerControlledStickman::advance(int phase)
{
  Stickman::advance(phase);
  if (phase && !GetCurrentAnimation() && !IsKilled())
    makeDecisions(m_scene);
}

void ComputerControlledStickman::makeDecisions(Scene*) {}
