#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

class QXmlStreamWriter;
class TiXmlElement;

/// Readers fall back to 0, a null string or the given default; writers add
/// attributes to the element the writer is inside, numbers with six
/// significant digits.
namespace xml
{
void SavePointF(const QPointF& point, QXmlStreamWriter& writer);
void SaveSizeF(const QSizeF& size, QXmlStreamWriter& writer);
void SaveRectF(const QRectF& rect, QXmlStreamWriter& writer);

QPointF LoadPointF(const TiXmlElement* element);
QSizeF LoadSizeF(const TiXmlElement* element);
QRectF LoadRectF(const TiXmlElement* element);

/// The attribute decoded as UTF-8; a null QString when it is missing.
QString LoadString(const TiXmlElement* element, const char* name);
/// "true" or "false" in any case; \a defaultValue otherwise.
bool LoadBool(const TiXmlElement* element, const char* name, bool defaultValue);
} // namespace xml
