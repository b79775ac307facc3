#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

class QXmlStreamWriter;
class TiXmlDocument;
class TiXmlElement;

/// Readers fall back to 0, a null string or the given default; writers add
/// attributes to the element the writer is inside, numbers with six
/// significant digits. Numbers are read and written with a decimal point
/// whatever the locale.
namespace xml
{
/// Data files are small; these bounds keep a damaged or hostile one from
/// exhausting memory or the parser's stack, which it uses once per level of nesting.
constexpr qint64 MaxDocumentBytes = 16 * 1024 * 1024;
constexpr int MaxNestingDepth = 256;

/// Parses the regular file at \a path (UTF-8) into \a document. False when it
/// is no regular file, is larger than MaxDocumentBytes, nests deeper than
/// MaxNestingDepth or is not well-formed; \a problem then says why, and for a
/// parse error document.ErrorRow() is the line.
bool LoadDocument(const QString& path, TiXmlDocument& document, QString& problem);

/// A number in C notation (surrounding blanks allowed), in \a value, which may
/// be infinite or NaN ("inf", "nan", "1e999"); false, leaving \a value alone,
/// for anything else ("1,5", "abc", "").
bool ParseReal(const char* text, double& value);
/// As ParseReal, but false also for an infinite or NaN value.
bool ParseNumber(const char* text, double& value);
/// The attribute read with ParseNumber; false, leaving \a value alone, when it
/// is missing or not a finite number.
bool LoadNumber(const TiXmlElement* element, const char* name, double& value);

void SavePointF(const QPointF& point, QXmlStreamWriter& writer);
void SaveSizeF(const QSizeF& size, QXmlStreamWriter& writer);
void SaveRectF(const QRectF& rect, QXmlStreamWriter& writer);

/// Each coordinate that is missing or not a finite number reads as 0.
QPointF LoadPointF(const TiXmlElement* element);
QSizeF LoadSizeF(const TiXmlElement* element);
QRectF LoadRectF(const TiXmlElement* element);

/// The attribute decoded as UTF-8; a null QString when it is missing.
QString LoadString(const TiXmlElement* element, const char* name);
/// "true" or "false" in any case; \a defaultValue otherwise.
bool LoadBool(const TiXmlElement* element, const char* name, bool defaultValue);
} // namespace xml
