#include "flow/FadeCutscene.h"

#include "common/GlobalConstants.h"
#include "flow/HUD.h"
#include "world/Scene.h"

namespace
{
constexpr double DarknessStep = 0.05;

enum Phase
{
  Darkening = 0,
  ShowingMessage = 1,
  Brightening = 2
};
} // namespace

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

void FadeCutscene::Start(Scene* scene)
{
  CutsceneImpl::Start(scene);
  m_phase = Darkening;
  m_darkness = m_initialDarkness = scene->GetGlobalDarknessLevel();
}

void FadeCutscene::Advance()
{
  if (m_finished)
    return;
  switch (m_phase)
  {
  case Darkening:
    m_darkness += DarknessStep;
    m_scene->SetGlobalDarknessLevel(m_darkness);
    if (m_darkness >= 1.0)
    {
      m_phase = ShowingMessage;
      m_scene->GetHUD()->ShowMessage(m_message);
      m_messageTimeLeft = m_messageDuration;
      // The changes run while the screen is black.
      if (m_sceneChanges)
        m_sceneChanges->Run();
    }
    break;
  case ShowingMessage:
    m_messageTimeLeft -= bv::TickIntervalSec;
    if (m_messageTimeLeft <= 0)
    {
      m_phase = Brightening;
      m_scene->GetHUD()->HideMessage();
    }
    break;
  default:
    m_darkness -= DarknessStep;
    m_scene->SetGlobalDarknessLevel(m_darkness);
    if (m_darkness <= m_initialDarkness)
    {
      if (!m_comment.isEmpty())
        m_scene->DisplayComment(m_comment);
      m_finished = true;
    }
    break;
  }
}

void FadeCutscene::Save(QXmlStreamWriter&) const {}
