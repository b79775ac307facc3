#include "flow/cutscenes/EagleAbductionCutscene.h"

#include <QXmlStreamWriter>

EagleAbductionCutscene::EagleAbductionCutscene(const QImage& eagleImage)
  : m_eagleImage(eagleImage)
{
}

Cutscene* EagleAbductionCutscene::Clone() const
{
  return new EagleAbductionCutscene(m_eagleImage);
}

// The flight needs the scene's player and ragdolls, which do not exist yet:
// until they do, a started abduction ends at once.
void EagleAbductionCutscene::Start(Scene* scene)
{
  CutsceneImpl::Start(scene);
  m_finished = true;
}

void EagleAbductionCutscene::Advance() {}

void EagleAbductionCutscene::Save(QXmlStreamWriter& writer) const
{
  writer.writeAttribute(QStringLiteral("special"), QStringLiteral("eagle_abduction"));
}
