#pragma once

#include <QString>

class QXmlStreamWriter;
class TiXmlElement;

/// One line of a conversation: a speech or thought bubble over a speaker.
class Cue
{
public:
  enum Type
  {
    Say = 0,
    Think = 1
  };

  /// Reads the attributes of a "cue" element: a missing "type" is Say, a
  /// missing "delay" 0, a missing speaker or text empty.
  void Load(const TiXmlElement* element);
  /// Writes a whole "cue" element.
  void Save(QXmlStreamWriter& writer) const;

  Type GetType() const { return m_type; }
  void SetType(Type type) { m_type = type; }
  /// "player", the name of a computer-controlled stickman, or anything else
  /// for a message without a speaker.
  const QString& GetFrom() const { return m_from; }
  void SetFrom(const QString& from) { m_from = from; }
  const QString& GetText() const { return m_text; }
  void SetText(const QString& text) { m_text = text; }
  /// Seconds before the continue indicator appears; a cue with a positive
  /// delay stays until the player skips it.
  double GetDelay() const { return m_delay; }
  void SetDelay(double seconds) { m_delay = seconds; }

  bool operator==(const Cue& other) const;
  bool operator!=(const Cue& other) const { return !(*this == other); }

private:
  Type m_type = Say;
  QString m_from;
  QString m_text;
  double m_delay = 0;
};
