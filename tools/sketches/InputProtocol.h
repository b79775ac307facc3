#pragma once

#include <QList>
#include <QPolygonF>

#include <memory>

class QGraphicsPathItem;
class QPainterPath;

/// Scales uniformly so that the longer side of the strokes' bounding box is
/// \a sidePx; strokes without extent are returned as they are.
QList<QPolygonF> ScaleToLongerSide(const QList<QPolygonF>& strokes, double sidePx);

/// Points about \a spacingPx apart along every stroke, as mouse input yields:
/// the first point, one every \a spacingPx of length, and the last point.
QList<QPolygonF> Resample(const QList<QPolygonF>& strokes, double spacingPx);

/// Each stroke is one press-drag-release: a move to its first point and lines
/// to the others (a single point: a line to itself).
QPainterPath StrokesToPath(const QList<QPolygonF>& strokes);

/// The finished drawing as the game holds it when it recognises it: drawn with
/// the drawing pen, its path centred on the item's origin.
std::unique_ptr<QGraphicsPathItem> MakeDrawing(const QList<QPolygonF>& strokes);
