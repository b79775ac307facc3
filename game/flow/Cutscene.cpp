#include "flow/Cutscene.h"

#include "flow/Cue.h"
#include "flow/SimpleCutscene.h"
#include "flow/cutscenes/EagleAbductionCutscene.h"

#include <QLoggingCategory>
#include <tinyxml.h>

namespace
{
Q_LOGGING_CATEGORY(lcCutscene, "bv.flow")
} // namespace

Cutscene* Cutscene::Load(const TiXmlElement* element)
{
  if (const char* special = element->Attribute("special"))
  {
    if (qstrcmp(special, "eagle_abduction") == 0)
      return new EagleAbductionCutscene(QImage());
    qCDebug(lcCutscene).noquote() << QStringLiteral("line %1: unknown special cutscene \"%2\"")
                                       .arg(QString::number(element->Row()), QString::fromUtf8(special));
    return nullptr;
  }
  QList<Cue> cues;
  for (const TiXmlElement* child = element->FirstChildElement("cue"); child; child = child->NextSiblingElement("cue"))
  {
    Cue cue;
    cue.Load(child);
    cues.append(cue);
  }
  return new SimpleCutscene(cues);
}
