#include "flow/SimpleCutscene.h"

SimpleCutscene::SimpleCutscene(const QList<Cue>& cues)
  : m_cues(cues)
{
}

Cutscene* SimpleCutscene::Clone() const
{
  return new SimpleCutscene(m_cues);
}

// Cues are shown by the scene, which does not exist yet: until it does, a
// started cutscene ends at once rather than wait for a player who sees nothing.
void SimpleCutscene::Start(Scene* scene)
{
  CutsceneImpl::Start(scene);
  m_finished = true;
}

void SimpleCutscene::Advance() {}

void SimpleCutscene::SkipCue() {}

void SimpleCutscene::Save(QXmlStreamWriter& writer) const
{
  for (const Cue& cue : m_cues)
    cue.Save(writer);
}
