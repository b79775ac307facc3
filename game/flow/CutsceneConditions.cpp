#include "flow/CutsceneConditions.h"

#include "common/XmlUtils.h"
#include "world/Object.h"

#include <QXmlStreamWriter>
#include <tinyxml.h>

bool CutsceneConditions::Load(const TiXmlElement* conditions)
{
  m_objectName.clear();
  if (const TiXmlElement* objectDrawn = conditions->FirstChildElement("object-drawn"))
    m_objectName = xml::LoadString(objectDrawn, "name");
  return !m_objectName.isEmpty();
}

void CutsceneConditions::Save(QXmlStreamWriter& writer) const
{
  writer.writeEmptyElement(QStringLiteral("object-drawn"));
  writer.writeAttribute(QStringLiteral("name"), m_objectName);
}

bool CutsceneConditions::AreMet(Object* drawnObject) const
{
  return drawnObject && drawnObject->GetName() == m_objectName;
}
