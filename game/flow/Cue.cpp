#include "flow/Cue.h"

#include "common/XmlUtils.h"

#include <QXmlStreamWriter>
#include <tinyxml.h>

void Cue::Load(const TiXmlElement* element)
{
  m_type = qstrcmp(element->Attribute("type"), "think") == 0 ? Think : Say;
  m_from = xml::LoadString(element, "from");
  m_text = xml::LoadString(element, "text");
  m_delay = 0;
  xml::LoadNumber(element, "delay", m_delay);
}

void Cue::Save(QXmlStreamWriter& writer) const
{
  writer.writeStartElement(QStringLiteral("cue"));
  writer.writeAttribute(QStringLiteral("type"), m_type == Think ? QStringLiteral("think") : QStringLiteral("say"));
  writer.writeAttribute(QStringLiteral("from"), m_from);
  writer.writeAttribute(QStringLiteral("text"), m_text);
  writer.writeAttribute(QStringLiteral("delay"), QString::number(m_delay, 'g', 6));
  writer.writeEndElement();
}

bool Cue::operator==(const Cue& other) const
{
  return m_type == other.m_type && m_from == other.m_from && m_text == other.m_text && m_delay == other.m_delay;
}
