#pragma once

#include "common/Direction.h"

#include <QList>
#include <QPolygonF>

#include <map>

class QPainterPath;

namespace shapewise
{
/// Cleat strokes keyed by the mean y of their points: the topmost first.
using LadderCleats = std::multimap<double, QPolygonF>;

/// Whether \a path, in scene pixels, is a flight of stairs: alternating
/// horizontal and vertical lines, each between 10 pixels and 65 % of the
/// drawing's extent long, stepping steadily one way. On success the treads
/// (\a horizontalLines) and risers (\a verticalLines) run from the bottom step to
/// the top, and \a direction is the side to which the stairs rise. \a direction is
/// set as soon as two lines have been seen, even when the answer is false; the
/// lists are only written on success. Every rejection is logged (category
/// "bv.shapewise").
bool DetectStairs(const QPainterPath& path, QList<QPolygonF>& horizontalLines, QList<QPolygonF>& verticalLines,
                  Direction& direction);

/// Whether \a path, in scene pixels, is a ladder: more than three strokes,
/// vertical ones in the left and right 35 % of the drawing (the planks) and
/// horizontal ones at least 40 % of its width (the cleats), spaced 0.2 to 2
/// widths apart and from the top and bottom. The containers are only written on
/// success. Every rejection but too few strokes is logged (category "bv.shapewise").
bool DetectLadder(const QPainterPath& path, QList<QPolygonF>& leftPlank, QList<QPolygonF>& rightPlank,
                  LadderCleats& cleats);
} // namespace shapewise
