#include "common/XmlUtils.h"

#include <QXmlStreamWriter>
#include <tinyxml.h>

namespace xml
{
namespace
{
void saveNumber(QXmlStreamWriter& writer, const char* name, double value)
{
  writer.writeAttribute(QLatin1String(name), QString::number(value, 'g', 6));
}

double loadNumber(const TiXmlElement* element, const char* name)
{
  double value = 0;
  element->Attribute(name, &value);
  return value;
}
} // namespace

void SavePointF(const QPointF& point, QXmlStreamWriter& writer)
{
  saveNumber(writer, "x", point.x());
  saveNumber(writer, "y", point.y());
}

void SaveSizeF(const QSizeF& size, QXmlStreamWriter& writer)
{
  saveNumber(writer, "width", size.width());
  saveNumber(writer, "height", size.height());
}

void SaveRectF(const QRectF& rect, QXmlStreamWriter& writer)
{
  SavePointF(rect.topLeft(), writer);
  SaveSizeF(rect.size(), writer);
}

QPointF LoadPointF(const TiXmlElement* element)
{
  return QPointF(loadNumber(element, "x"), loadNumber(element, "y"));
}

QSizeF LoadSizeF(const TiXmlElement* element)
{
  return QSizeF(loadNumber(element, "width"), loadNumber(element, "height"));
}

QRectF LoadRectF(const TiXmlElement* element)
{
  return QRectF(LoadPointF(element), LoadSizeF(element));
}

QString LoadString(const TiXmlElement* element, const char* name)
{
  const char* text = element->Attribute(name);
  return text ? QString::fromUtf8(text) : QString();
}

bool LoadBool(const TiXmlElement* element, const char* name, bool defaultValue)
{
  const QString text = LoadString(element, name).toLower();
  if (text == QLatin1String("true"))
    return true;
  if (text == QLatin1String("false"))
    return false;
  return defaultValue;
}
} // namespace xml
