#pragma once

#include <QList>
#include <QPolygonF>
#include <QString>

/// Timed player input in a readable text form, one event a line: recorded
/// from a real game (BRISVEL_RECORD) and replayed by brisvel-play.
///
///     # comments and empty lines are skipped
///     level sea_shore            events below belong to that level
///     12 press Left              tick, then the event
///     40 release Left
///     52 press 3 alt             modifiers: alt, control, shift (any order)
///     60 stroke 100,200 110,215  a left-button drag with Control held
///     70 click 300,400 right     a press and release (left unless "right")
///
/// Ticks count the 16 ms game ticks since the level started and never go
/// back within a level. Points are scene pixels.
class InputScript
{
public:
  struct Event
  {
    enum Type
    {
      Press,
      Release,
      Stroke,
      Click
    };

    int tick = 0;
    Type type = Press;
    /// Qt key code (Press, Release).
    int key = 0;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    /// Stroke: two points or more; Click: one.
    QPolygonF points;
    Qt::MouseButton button = Qt::LeftButton;

    bool operator==(const Event& other) const;
  };

  struct Section
  {
    /// Empty for events written before any "level" line.
    QString level;
    QList<Event> events;
  };

  /// Replaces the script with \a text; on failure the error names the line
  /// and the script is left as it was.
  bool Parse(const QString& text, QString* error);
  bool Load(const QString& path, QString* error);

  const QList<Section>& GetSections() const { return m_sections; }
  /// The events of the first section for \a level, or of the section without
  /// a level when there is none for it.
  QList<Event> GetEvents(const QString& level) const;

  /// One line of the script for the event, without the line break.
  static QString Format(const Event& event);
  /// "Left", "Control", "3", ...; unnamed keys as "0x" and the code in hex.
  static QString KeyName(int key);
  /// 0 for an unknown name.
  static int KeyFromName(const QString& name);

private:
  QList<Section> m_sections;
};
