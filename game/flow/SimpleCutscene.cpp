#include "flow/SimpleCutscene.h"

#include "world/Scene.h"

SimpleCutscene::SimpleCutscene(const QList<Cue>& cues)
  : m_cues(cues)
{
}

Cutscene* SimpleCutscene::Clone() const
{
  return new SimpleCutscene(m_cues);
}

void SimpleCutscene::Start(Scene* scene)
{
  CutsceneImpl::Start(scene);
  if (m_cues.isEmpty())
    m_finished = true;
  else
    showCue(0);
}

// Nothing counts the delay down: a cue with a delay waits for the player.
void SimpleCutscene::Advance()
{
  if (m_finished || m_remaining > 0)
    return;
  if (m_current + 1 >= m_cues.size())
  {
    m_finished = true;
    m_scene->ClearCue();
  }
  else
    showCue(m_current + 1);
}

void SimpleCutscene::SkipCue()
{
  m_remaining = 0;
}

void SimpleCutscene::showCue(int index)
{
  m_current = index;
  m_remaining = m_cues[index].GetDelay();
  m_scene->DisplayCue(m_cues[index]);
}

void SimpleCutscene::Save(QXmlStreamWriter& writer) const
{
  for (const Cue& cue : m_cues)
    cue.Save(writer);
}
