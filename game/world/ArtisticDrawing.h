#pragma once

#include <QGraphicsPathItem>
#include <QLineF>
#include <QPixmap>
#include <QVector>

/// The stroke being drawn, with faint hatch lines between nearby points of it
/// for a pencil look. Its path is in item coordinates.
class ArtisticDrawing : public QGraphicsPathItem
{
public:
  ArtisticDrawing();

  void moveTo(QPointF point);
  void lineTo(QPointF point);
  /// Rebuilds the stroke from \a path, rolling new hatch lines.
  void setPath(const QPainterPath& path);
  /// Moves the stroke and its hatch lines within the item.
  void translateContents(QPointF offset);
  /// Takes back everything since the last move-to.
  void removeLastStroke();

  /// The stroke's rectangle grown by half the pen: Qt's own strokes the whole
  /// path, which for every new point of a long stroke would take ever longer.
  QRectF boundingRect() const override;
  void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
  void updateExtraLines(QPointF newPoint);
  /// Renders the hatch lines; done when painting, as a stroke of thousands of
  /// points would otherwise render them again for every point.
  void updateCache();
  /// Tells the scene first, as every change of the rectangle must.
  void updateBounds();

  QPainterPath m_path;
  QVector<QLineF> m_extraLines;
  QPixmap m_cache;
  /// m_path's rectangle, kept up to date point by point.
  QRectF m_bounds;
  bool m_cacheDirty = false;
};
