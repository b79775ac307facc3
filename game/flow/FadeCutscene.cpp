#include "flow/FadeCutscene.h"

FadeCutscene::FadeCutscene(const QString& message, double duration, boost::shared_ptr<ObscuredSceneChanges> changes,
                           const QString& comment)
  : m_sceneChanges(changes)
  , m_message(message)
  , m_messageDuration(duration)
  , m_comment(comment)
{
}

Cutscene* FadeCutscene::Clone() const
{
  return new FadeCutscene(m_message, m_messageDuration, m_sceneChanges, m_comment);
}

// Fading needs the scene's darkness and HUD, which do not exist yet: until
// they do, a started fade ends at once.
void FadeCutscene::Start(Scene* scene)
{
  CutsceneImpl::Start(scene);
  m_finished = true;
}

void FadeCutscene::Advance() {}

void FadeCutscene::Save(QXmlStreamWriter&) const {}
