#pragma once

#include <QString>

class Object;
class QXmlStreamWriter;
class TiXmlElement;

/// What starts an intermezzo cutscene: the player draws an object of a name.
class CutsceneConditions
{
public:
  /// Reads the "object-drawn" child of a "conditions" element; false when it
  /// or its "name" is missing or empty.
  bool Load(const TiXmlElement* conditions);
  /// Writes an "object-drawn" element into the "conditions" element the caller has opened.
  void Save(QXmlStreamWriter& writer) const;
  /// True when \a drawnObject has the required name (case-sensitive).
  bool AreMet(Object* drawnObject) const;

  /// Empty when no condition was loaded.
  const QString& GetObjectName() const { return m_objectName; }
  void SetObjectName(const QString& name) { m_objectName = name; }

private:
  QString m_objectName;
};
