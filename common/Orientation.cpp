#include "common/Orientation.h"

#include <QString>

Orientation String2Orientation(const QString& text, Orientation defaultValue)
{
  const QString lowered = text.toLower();
  if (lowered == QLatin1String("horizontal"))
    return Horizontal;
  if (lowered == QLatin1String("vertical"))
    return Vertical;
  if (lowered == QLatin1String("diagonal"))
    return Diagonal;
  return defaultValue;
}

double Orientation2Degrees(Orientation orientation)
{
  switch (orientation)
  {
  case Vertical:
    return 90.0;
  case Diagonal:
    return 45.0;
  case Horizontal:
    break;
  }
  return 0.0;
}
