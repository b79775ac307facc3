#pragma once

#include "common/Orientation.h"

class QString;

/// Facing or pointing direction. Stored in files as int, so any int is a
/// representable (if unnamed) value.
enum Direction : int
{
  Left = 0,
  Right = 1,
  Up = 2,
  Down = 3,
  UpRight = 4,
  UpLeft = 5,
  DownLeft = 6,
  DownRight = 7
};

Direction InvertDirection(Direction direction);
/// Mathematical angle (counter-clockwise, y up), radians.
double Direction2Angle(Direction direction);
double Direction2Degrees(Direction direction);
Orientation Direction2Orientation(Direction direction);

/// Case-insensitive; \a defaultValue when the text names no direction.
Direction String2Direction(const QString& text, Direction defaultValue);
/// Lower-case name; empty for a value outside the enumeration.
QString Direction2String(Direction direction);
