#pragma once

#include "InputScript.h"

#include <QFile>

class QKeyEvent;
class QMouseEvent;

/// Writes the player's input during play as an input script, so that a
/// played level can be replayed by brisvel-play. Each line is flushed at
/// once: a crash keeps what came before it. A drag is one stroke line, at the
/// tick of its press; keys pressed while it goes on follow it (the scene stands
/// still while the player draws), so that ticks never go back. A write that
/// fails ends the recording, with a warning.
class InputRecorder
{
public:
  /// Opens \a path for writing (replacing it); IsOpen tells whether it
  /// worked, and whether every line since could be written.
  explicit InputRecorder(const QString& path);

  bool IsOpen() const { return m_file.isOpen(); }

  /// Starts a new section; ticks count from here.
  void StartLevel(const QString& name);
  void Tick() { ++m_tick; }

  void KeyPress(const QKeyEvent* event);
  void KeyRelease(const QKeyEvent* event);
  /// \a scenePos is where the game handler saw the event.
  void MousePress(const QMouseEvent* event, QPointF scenePos);
  void MouseMove(const QMouseEvent* event, QPointF scenePos);
  void MouseRelease(const QMouseEvent* event, QPointF scenePos);

private:
  /// Holds the event back while a drag goes on.
  void write(const InputScript::Event& event);
  void writeLine(const QString& line);
  void key(const QKeyEvent* event, InputScript::Event::Type type);
  void finishStroke();

  QFile m_file;
  int m_tick = 0;
  /// The drag being drawn; its tick is that of the press.
  InputScript::Event m_stroke;
  bool m_drawing = false;
  /// Events that came during the drag, written after it.
  QList<InputScript::Event> m_heldBack;
};
