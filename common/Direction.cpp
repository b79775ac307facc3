#include "common/Direction.h"

#include <QMap>
#include <QString>

namespace
{
struct DirectionTraits
{
  const char* name;
  double degrees;
  Direction inverse;
  Orientation orientation;
};

// Indexed by the enumeration's value.
const DirectionTraits Traits[] = {
  {"left", 180, Right, Horizontal},     {"right", 0, Left, Horizontal},
  {"up", 90, Down, Vertical},           {"down", -90, Up, Vertical},
  {"upright", 45, DownLeft, Diagonal},  {"upleft", 135, DownRight, Diagonal},
  {"downleft", -135, UpRight, Diagonal}, {"downright", -45, UpLeft, Diagonal},
};
constexpr int DirectionCount = sizeof(Traits) / sizeof(Traits[0]);

bool isValid(Direction direction)
{
  return direction >= 0 && direction < DirectionCount;
}

const QMap<Direction, QString>& directionNames()
{
  static QMap<Direction, QString> names;
  if (names.isEmpty())
  {
    for (int i = 0; i < DirectionCount; ++i)
      names.insert(static_cast<Direction>(i), QString::fromLatin1(Traits[i].name));
  }
  return names;
}
} // namespace

Direction InvertDirection(Direction direction)
{
  return isValid(direction) ? Traits[direction].inverse : direction;
}

double Direction2Angle(Direction direction)
{
  return Direction2Degrees(direction) * 3.141592653589793 / 180.0;
}

double Direction2Degrees(Direction direction)
{
  return isValid(direction) ? Traits[direction].degrees : 0.0;
}

Orientation Direction2Orientation(Direction direction)
{
  return isValid(direction) ? Traits[direction].orientation : Horizontal;
}

Direction String2Direction(const QString& text, Direction defaultValue)
{
  const QString lowered = text.toLower();
  const auto& names = directionNames();
  for (auto it = names.cbegin(); it != names.cend(); ++it)
  {
    if (it.value() == lowered)
      return it.key();
  }
  return defaultValue;
}

QString Direction2String(Direction direction)
{
  return directionNames().value(direction);
}
