#include "InputProtocol.h"

#include "world/DrawingPen.h"

#include <QGraphicsPathItem>
#include <QLineF>
#include <QPainterPath>

namespace
{
QRectF boundsOf(const QList<QPolygonF>& strokes)
{
  QPolygonF all;
  for (const QPolygonF& stroke : strokes)
    all << stroke;
  return all.boundingRect();
}
} // namespace

QList<QPolygonF> ScaleToLongerSide(const QList<QPolygonF>& strokes, double sidePx)
{
  const QRectF bounds = boundsOf(strokes);
  const double longer = qMax(bounds.width(), bounds.height());
  if (longer <= 0.0)
    return strokes;
  const double factor = sidePx / longer;
  QList<QPolygonF> scaled;
  for (const QPolygonF& stroke : strokes)
  {
    QPolygonF points;
    for (const QPointF& point : stroke)
      points << (point - bounds.topLeft()) * factor;
    scaled << points;
  }
  return scaled;
}

QList<QPolygonF> Resample(const QList<QPolygonF>& strokes, double spacingPx)
{
  QList<QPolygonF> resampled;
  for (const QPolygonF& stroke : strokes)
  {
    if (stroke.isEmpty())
      continue;
    QPolygonF points;
    points << stroke.first();
    double travelled = 0.0; // along the stroke since the last emitted point
    for (int i = 1; i < stroke.size(); ++i)
    {
      const QLineF segment(stroke[i - 1], stroke[i]);
      const double length = segment.length();
      double at = spacingPx - travelled;
      while (at <= length)
      {
        points << segment.pointAt(at / length);
        at += spacingPx;
      }
      travelled = length - (at - spacingPx);
    }
    if (points.last() != stroke.last() && (points.size() == 1 || travelled > 0.25 * spacingPx))
      points << stroke.last();
    else if (points.size() > 1 && points.last() != stroke.last())
      points.last() = stroke.last();
    resampled << points;
  }
  return resampled;
}

QPainterPath StrokesToPath(const QList<QPolygonF>& strokes)
{
  QPainterPath path;
  for (const QPolygonF& stroke : strokes)
  {
    if (stroke.isEmpty())
      continue;
    path.moveTo(stroke.first());
    if (stroke.size() == 1)
      path.lineTo(stroke.first());
    for (int i = 1; i < stroke.size(); ++i)
      path.lineTo(stroke[i]);
  }
  return path;
}

std::unique_ptr<QGraphicsPathItem> MakeDrawing(const QList<QPolygonF>& strokes)
{
  auto drawing = std::make_unique<QGraphicsPathItem>();
  drawing->setPen(DrawingPen);
  drawing->setPath(StrokesToPath(strokes));
  const QPointF centre = drawing->boundingRect().center();
  drawing->setPath(drawing->path().translated(-centre));
  return drawing;
}
