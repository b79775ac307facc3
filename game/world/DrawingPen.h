#pragma once

#include <QPen>

/// The pen of every drawn stroke, loaded object, ladder and stairs: black, 3 pixels
/// wide, round caps and joins. The scene changes its colour when a level starts.
extern QPen DrawingPen;
