#include "world/ArtisticDrawing.h"

#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace
{
// Hatch lines join points at most 30 pixels apart, closer ones more often.
constexpr double MaxHatchDistanceSquared = 900;
constexpr double MinHatchDistanceSquared = 2;
// Hatch lines are looked for among this many of the stroke's latest points:
// mouse input brings a point every few pixels, so these reach well beyond
// 30 pixels back along the stroke, and a stroke of thousands of points stays
// linear in time.
constexpr int HatchLookBack = 64;
} // namespace

ArtisticDrawing::ArtisticDrawing()
{
  m_path.setFillRule(Qt::WindingFill);
}

void ArtisticDrawing::moveTo(QPointF point)
{
  m_path.moveTo(point);
}

void ArtisticDrawing::lineTo(QPointF point)
{
  // The item shares the stroke's data: it lets go of it while the stroke
  // grows, or every new point would copy the whole stroke.
  QGraphicsPathItem::setPath(QPainterPath());
  const int count = m_path.elementCount();
  m_path.lineTo(point);
  // A line to where the pen already is adds nothing.
  if (m_path.elementCount() > count)
  {
    // The scene's index must hear of a new rectangle before it changes, or it
    // keeps the item at its old place and finds it there after it is gone.
    prepareGeometryChange();
    m_bounds |= QRectF(QPointF(m_path.elementAt(m_path.elementCount() - 2)), point).normalized();
    updateExtraLines(point);
    m_cacheDirty = true;
  }
  QGraphicsPathItem::setPath(m_path);
}

void ArtisticDrawing::setPath(const QPainterPath& path)
{
  m_path = QPainterPath();
  m_path.setFillRule(Qt::WindingFill);
  m_extraLines.clear();
  for (int i = 0; i < path.elementCount(); ++i)
  {
    const QPainterPath::Element element = path.elementAt(i);
    if (element.isMoveTo())
    {
      m_path.moveTo(element);
    }
    else
    {
      m_path.lineTo(element);
      updateExtraLines(element);
    }
  }
  updateBounds();
  m_cacheDirty = true;
  QGraphicsPathItem::setPath(m_path);
}

void ArtisticDrawing::translateContents(QPointF offset)
{
  m_path.translate(offset);
  for (QLineF& line : m_extraLines)
    line.translate(offset);
  updateBounds();
  QGraphicsPathItem::setPath(m_path);
}

void ArtisticDrawing::removeLastStroke()
{
  int lastMove = m_path.elementCount() - 1;
  while (lastMove > 0 && !m_path.elementAt(lastMove).isMoveTo())
    --lastMove;
  QPainterPath kept;
  for (int i = 0; i < lastMove; ++i)
  {
    const QPainterPath::Element element = m_path.elementAt(i);
    if (element.isMoveTo())
      kept.moveTo(element);
    else
      kept.lineTo(element);
  }
  setPath(kept);
}

QRectF ArtisticDrawing::boundingRect() const
{
  const double margin = std::max(pen().widthF(), 1.0) / 2;
  return m_bounds.adjusted(-margin, -margin, margin, margin);
}

void ArtisticDrawing::updateBounds()
{
  prepareGeometryChange();
  m_bounds = m_path.boundingRect();
}

void ArtisticDrawing::paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget)
{
  if (m_cacheDirty)
    updateCache();
  // The hatch lines were rendered relative to the stroke's own rectangle.
  if (!m_cache.isNull())
    painter->drawPixmap(m_bounds.topLeft(), m_cache);
  QGraphicsPathItem::paint(painter, option, widget);
}

void ArtisticDrawing::updateExtraLines(QPointF newPoint)
{
  // The stroke's own points from the newest back to the start of its sub-path;
  // the path is made of move-to and line-to elements only.
  const int last = m_path.elementCount() - 1;
  const int first = std::max(0, last - HatchLookBack);
  for (int i = last; i >= first; --i)
  {
    const QPainterPath::Element element = m_path.elementAt(i);
    const QPointF d = newPoint - QPointF(element);
    const double q = d.x() * d.x() + d.y() * d.y();
    if (q >= MinHatchDistanceSquared && q <= MaxHatchDistanceSquared &&
        std::rand() / 2147483647.0 > q / MaxHatchDistanceSquared)
      m_extraLines.append(QLineF(QPointF(element) + d / 4, newPoint - d / 4));
    if (element.isMoveTo())
      break;
  }
}

void ArtisticDrawing::updateCache()
{
  m_cacheDirty = false;
  const QRectF r = m_bounds;
  const int w = qRound(r.width());
  const int h = qRound(r.height());
  if (w < 1 || h < 1)
    return;
  m_cache = QPixmap(w, h);
  m_cache.fill(Qt::transparent);
  QPainter painter(&m_cache);
  QColor colour = pen().color();
  colour.setAlphaF(0.2);
  painter.setPen(QPen(colour, 0));
  painter.setBrush(Qt::NoBrush);
  painter.translate(-r.x(), -r.y());
  for (const QLineF& line : qAsConst(m_extraLines))
    painter.drawLine(line);
}
