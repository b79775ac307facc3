#include "flow/CutsceneImpl.h"

void CutsceneImpl::Start(Scene* scene)
{
  m_scene = scene;
  m_finished = false;
}

bool CutsceneImpl::IsStarted() const
{
  return m_scene != nullptr;
}

bool CutsceneImpl::IsFinished() const
{
  return m_finished;
}
