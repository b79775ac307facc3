#include "InputScript.h"

#include <QFile>
#include <QTextStream>

#include <utility>

namespace
{
struct NamedKey
{
  int key;
  const char* name;
};

constexpr NamedKey NamedKeys[] = {
    {Qt::Key_Left, "Left"},       {Qt::Key_Right, "Right"}, {Qt::Key_Up, "Up"},           {Qt::Key_Down, "Down"},
    {Qt::Key_Return, "Return"},   {Qt::Key_Enter, "Enter"}, {Qt::Key_Space, "Space"},     {Qt::Key_Shift, "Shift"},
    {Qt::Key_Control, "Control"}, {Qt::Key_Alt, "Alt"},     {Qt::Key_Escape, "Escape"},
};

struct NamedModifier
{
  Qt::KeyboardModifier modifier;
  const char* name;
};

constexpr NamedModifier NamedModifiers[] = {
    {Qt::AltModifier, "alt"}, {Qt::ControlModifier, "control"}, {Qt::ShiftModifier, "shift"}};

// Longer than any level needs; keeps a corrupt tick from overflowing the counters.
constexpr int MaxTick = 100000000;

bool parsePoint(const QString& text, QPointF* point)
{
  const QStringList parts = text.split(QLatin1Char(','));
  if (parts.size() != 2)
    return false;
  bool okX = false;
  bool okY = false;
  // QString::toDouble ignores the locale: a decimal point always.
  const double x = parts[0].toDouble(&okX);
  const double y = parts[1].toDouble(&okY);
  if (!okX || !okY || !qIsFinite(x) || !qIsFinite(y))
    return false;
  *point = QPointF(x, y);
  return true;
}

QString formatPoint(const QPointF& point)
{
  return QString::number(point.x(), 'g', 10) + QLatin1Char(',') + QString::number(point.y(), 'g', 10);
}

/// Reads one event line (already split into words); the error when it is not one.
QString parseEvent(const QStringList& words, InputScript::Event* event)
{
  bool ok = false;
  event->tick = words[0].toInt(&ok);
  if (!ok || event->tick < 0 || event->tick > MaxTick)
    return QStringLiteral("bad tick \"%1\"").arg(words[0]);
  if (words.size() < 2)
    return QStringLiteral("no event after the tick");
  const QString& type = words[1];
  if (type == QLatin1String("press") || type == QLatin1String("release"))
  {
    event->type = type == QLatin1String("press") ? InputScript::Event::Press : InputScript::Event::Release;
    if (words.size() < 3)
      return QStringLiteral("no key");
    event->key = InputScript::KeyFromName(words[2]);
    if (event->key == 0)
      return QStringLiteral("unknown key \"%1\"").arg(words[2]);
    for (int i = 3; i < words.size(); ++i)
    {
      bool known = false;
      for (const NamedModifier& modifier : NamedModifiers)
        if (words[i] == QLatin1String(modifier.name))
        {
          event->modifiers |= modifier.modifier;
          known = true;
        }
      if (!known)
        return QStringLiteral("unknown modifier \"%1\"").arg(words[i]);
    }
    return QString();
  }
  if (type == QLatin1String("stroke"))
  {
    event->type = InputScript::Event::Stroke;
    for (int i = 2; i < words.size(); ++i)
    {
      QPointF point;
      if (!parsePoint(words[i], &point))
        return QStringLiteral("bad point \"%1\"").arg(words[i]);
      event->points << point;
    }
    if (event->points.size() < 2)
      return QStringLiteral("a stroke needs two points or more");
    return QString();
  }
  if (type == QLatin1String("click"))
  {
    event->type = InputScript::Event::Click;
    QPointF point;
    if (words.size() < 3 || !parsePoint(words[2], &point))
      return QStringLiteral("a click needs one point");
    event->points << point;
    if (words.size() == 4 && words[3] == QLatin1String("right"))
      event->button = Qt::RightButton;
    else if (words.size() > 3)
      return QStringLiteral("unexpected \"%1\" after the click").arg(words[3]);
    return QString();
  }
  return QStringLiteral("unknown event \"%1\"").arg(type);
}
} // namespace

bool InputScript::Event::operator==(const Event& other) const
{
  return tick == other.tick && type == other.type && key == other.key && modifiers == other.modifiers &&
         points == other.points && button == other.button;
}

bool InputScript::Parse(const QString& text, QString* error)
{
  QList<Section> sections;
  const QStringList lines = text.split(QLatin1Char('\n'));
  for (int i = 0; i < lines.size(); ++i)
  {
    const QString line = lines[i].trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
      continue;
    const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words[0] == QLatin1String("level"))
    {
      if (words.size() != 2)
      {
        *error = QStringLiteral("line %1: \"level\" takes one name").arg(i + 1);
        return false;
      }
      sections.append(Section{words[1], {}});
      continue;
    }
    Event event;
    const QString problem = parseEvent(words, &event);
    if (!problem.isEmpty())
    {
      *error = QStringLiteral("line %1: %2").arg(i + 1).arg(problem);
      return false;
    }
    if (sections.isEmpty())
      sections.append(Section());
    if (!sections.last().events.isEmpty() && event.tick < sections.last().events.last().tick)
    {
      *error = QStringLiteral("line %1: tick %2 comes before the tick of the line above").arg(i + 1).arg(event.tick);
      return false;
    }
    sections.last().events.append(event);
  }
  m_sections = std::move(sections);
  return true;
}

bool InputScript::Load(const QString& path, QString* error)
{
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
  {
    *error = QStringLiteral("cannot read \"%1\"").arg(path);
    return false;
  }
  if (!Parse(QString::fromUtf8(file.readAll()), error))
  {
    *error = QStringLiteral("%1: %2").arg(path, *error);
    return false;
  }
  return true;
}

QList<InputScript::Event> InputScript::GetEvents(const QString& level) const
{
  for (const Section& section : m_sections)
    if (section.level == level)
      return section.events;
  for (const Section& section : m_sections)
    if (section.level.isEmpty())
      return section.events;
  return {};
}

QString InputScript::Format(const Event& event)
{
  QString line = QString::number(event.tick);
  switch (event.type)
  {
  case Event::Press:
  case Event::Release:
    line += event.type == Event::Press ? QLatin1String(" press ") : QLatin1String(" release ");
    line += KeyName(event.key);
    for (const NamedModifier& modifier : NamedModifiers)
      if (event.modifiers & modifier.modifier)
        line += QLatin1Char(' ') + QLatin1String(modifier.name);
    break;
  case Event::Stroke:
    line += QLatin1String(" stroke");
    for (const QPointF& point : event.points)
      line += QLatin1Char(' ') + formatPoint(point);
    break;
  case Event::Click:
    line += QLatin1String(" click ") + formatPoint(event.points.value(0));
    if (event.button == Qt::RightButton)
      line += QLatin1String(" right");
    break;
  }
  return line;
}

QString InputScript::KeyName(int key)
{
  for (const NamedKey& named : NamedKeys)
    if (named.key == key)
      return QLatin1String(named.name);
  if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z))
    return QString(QChar(key));
  return QStringLiteral("0x") + QString::number(key, 16);
}

int InputScript::KeyFromName(const QString& name)
{
  for (const NamedKey& named : NamedKeys)
    if (name == QLatin1String(named.name))
      return named.key;
  if (name.size() == 1 && ((name[0] >= QLatin1Char('0') && name[0] <= QLatin1Char('9')) ||
                           (name[0] >= QLatin1Char('A') && name[0] <= QLatin1Char('Z'))))
    return name[0].unicode();
  if (name.startsWith(QLatin1String("0x")))
  {
    bool ok = false;
    const int key = name.mid(2).toInt(&ok, 16);
    if (ok && key > 0)
      return key;
  }
  return 0;
}
