#include "common/XmlUtils.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamWriter>
#include <tinyxml.h>

#include <cctype>
#include <cmath>
#include <cstring>

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
  LoadNumber(element, name, value);
  return value;
}

const char* skipPast(const char* text, const char* end)
{
  const char* found = std::strstr(text, end);
  return found ? found + std::strlen(end) : text + std::strlen(text);
}

// How deep the elements of the document nest, counted the way the parser
// reads them: comments, CDATA sections, declarations and quoted attribute
// values open nothing.
int nestingDepth(const char* text)
{
  int depth = 0;
  int deepest = 0;
  const char* p = text;
  while (*p)
  {
    if (*p != '<')
      ++p;
    else if (std::strncmp(p, "<!--", 4) == 0)
      p = skipPast(p + 4, "-->");
    else if (std::strncmp(p, "<![CDATA[", 9) == 0)
      p = skipPast(p + 9, "]]>");
    else if (p[1] == '/')
    {
      depth = depth > 0 ? depth - 1 : 0;
      p = skipPast(p + 2, ">");
    }
    else if (p[1] == '!' || p[1] == '?')
      p = skipPast(p + 2, ">");
    else
    {
      // A start tag ends at the first '>' outside quotes; "/>" also closes it.
      char quote = 0;
      char last = 0;
      for (++p; *p && (quote || *p != '>'); ++p)
      {
        if (quote)
        {
          if (*p == quote)
            quote = 0;
        }
        else if (*p == '"' || *p == '\'')
          quote = *p;
        else if (!std::isspace(static_cast<unsigned char>(*p)))
          last = *p;
      }
      if (*p == '>')
      {
        if (last != '/' && ++depth > deepest)
          deepest = depth;
        ++p;
      }
    }
  }
  return deepest;
}
} // namespace

bool LoadDocument(const QString& path, TiXmlDocument& document, QString& problem)
{
  // Devices and pipes are never read: /dev/zero has no end.
  const QFileInfo info(path);
  if (!info.isFile())
  {
    problem = info.exists() ? QStringLiteral("not a regular file") : QStringLiteral("no such file");
    return false;
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
  {
    problem = QStringLiteral("cannot be read: ") + file.errorString();
    return false;
  }
  QByteArray data = file.read(MaxDocumentBytes + 1);
  if (data.size() > MaxDocumentBytes)
  {
    problem = QStringLiteral("larger than %1 bytes").arg(MaxDocumentBytes);
    return false;
  }
  // Line ends as the parser's own file reading normalises them, so that its
  // line numbers count as an editor does.
  data.replace("\r\n", "\n");
  data.replace('\r', '\n');
  if (nestingDepth(data.constData()) > MaxNestingDepth)
  {
    problem = QStringLiteral("elements nested deeper than %1 levels").arg(MaxNestingDepth);
    return false;
  }
  document.Parse(data.constData(), nullptr, TIXML_ENCODING_UTF8);
  if (document.Error())
  {
    problem = QStringLiteral("not a well-formed XML file (%1, column %2)")
                .arg(QString::fromUtf8(document.ErrorDesc()), QString::number(document.ErrorCol()));
    return false;
  }
  return true;
}

bool ParseReal(const char* text, double& value)
{
  if (!text)
    return false;
  // QByteArray reads numbers in the C locale, never the process's own. It
  // reports an overflow as a failure, which is still a number here.
  bool ok = false;
  const QByteArray trimmed = QByteArray(text).trimmed();
  const double parsed = trimmed.toDouble(&ok);
  if (!ok && !(std::isinf(parsed) && !trimmed.isEmpty()))
    return false;
  value = parsed;
  return true;
}

bool ParseNumber(const char* text, double& value)
{
  double parsed = 0;
  if (!ParseReal(text, parsed) || !std::isfinite(parsed))
    return false;
  value = parsed;
  return true;
}

bool LoadNumber(const TiXmlElement* element, const char* name, double& value)
{
  return ParseNumber(element->Attribute(name), value);
}

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
