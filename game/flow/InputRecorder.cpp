#include "InputRecorder.h"

#include <QKeyEvent>
#include <QLoggingCategory>
#include <QMouseEvent>

namespace
{
Q_LOGGING_CATEGORY(lcRecorder, "bv.flow.recorder")

bool isDrawing(const QMouseEvent* event, Qt::MouseButtons buttons)
{
  return (event->modifiers() & Qt::ControlModifier) && (buttons & Qt::LeftButton);
}
} // namespace

InputRecorder::InputRecorder(const QString& path) : m_file(path)
{
  if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
    qCWarning(lcRecorder) << "Cannot write the input record" << path << ":" << m_file.errorString();
  else
    writeLine(QStringLiteral("# Brisvel input script, recorded from a game"));
}

void InputRecorder::StartLevel(const QString& name)
{
  finishStroke();
  m_tick = 0;
  writeLine(QStringLiteral("level ") + name);
}

void InputRecorder::KeyPress(const QKeyEvent* event)
{
  key(event, InputScript::Event::Press);
}

void InputRecorder::KeyRelease(const QKeyEvent* event)
{
  // Letting go of Control ends a drawing, and with it any drag.
  if (event->key() == Qt::Key_Control)
    finishStroke();
  key(event, InputScript::Event::Release);
}

void InputRecorder::MousePress(const QMouseEvent* event, QPointF scenePos)
{
  finishStroke();
  InputScript::Event press;
  press.tick = m_tick;
  press.points << scenePos;
  if (isDrawing(event, event->button()))
  {
    press.type = InputScript::Event::Stroke;
    m_stroke = press;
    m_drawing = true;
    return;
  }
  press.type = InputScript::Event::Click;
  press.button = event->button() == Qt::RightButton ? Qt::RightButton : Qt::LeftButton;
  write(press);
}

void InputRecorder::MouseMove(const QMouseEvent* event, QPointF scenePos)
{
  if (m_drawing && isDrawing(event, event->buttons()))
    m_stroke.points << scenePos;
}

void InputRecorder::MouseRelease(const QMouseEvent* event, QPointF scenePos)
{
  if (!m_drawing)
    return;
  if (isDrawing(event, event->button()))
    m_stroke.points << scenePos;
  finishStroke();
}

void InputRecorder::write(const InputScript::Event& event)
{
  if (m_drawing)
    m_heldBack << event;
  else
    writeLine(InputScript::Format(event));
}

void InputRecorder::writeLine(const QString& line)
{
  if (!IsOpen())
    return;
  const QByteArray bytes = (line + QLatin1Char('\n')).toUtf8();
  if (m_file.write(bytes) == bytes.size() && m_file.flush())
    return;
  qCWarning(lcRecorder) << "Cannot write the input record" << m_file.fileName() << ":" << m_file.errorString()
                        << "; recording stops";
  m_file.close();
}

void InputRecorder::key(const QKeyEvent* event, InputScript::Event::Type type)
{
  if (event->isAutoRepeat())
    return;
  InputScript::Event line;
  line.tick = m_tick;
  line.type = type;
  line.key = event->key();
  // Only the modifiers the game tells apart. A modifier key's own events are
  // written bare: Qt reports them with that modifier flipped, both ways.
  const bool modifierKey = line.key == Qt::Key_Shift || line.key == Qt::Key_Control || line.key == Qt::Key_Alt ||
                           line.key == Qt::Key_Meta;
  if (!modifierKey)
    line.modifiers = event->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::ShiftModifier);
  write(line);
}

void InputRecorder::finishStroke()
{
  if (!m_drawing)
    return;
  m_drawing = false;
  // A press without a drag draws a dot: a stroke needs two points.
  if (m_stroke.points.size() == 1)
    m_stroke.points << m_stroke.points.first();
  write(m_stroke);
  for (const InputScript::Event& event : m_heldBack)
    write(event);
  m_heldBack.clear();
}
