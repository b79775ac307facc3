#pragma once

class QString;

enum Orientation : int
{
  Horizontal = 0,
  Vertical = 1,
  Diagonal = 2
};

/// Case-insensitive; \a defaultValue when the text names no orientation.
Orientation String2Orientation(const QString& text, Orientation defaultValue);
double Orientation2Degrees(Orientation orientation);
