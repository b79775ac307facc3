#pragma once

#include "Random.h"

#include <QColor>
#include <QFont>
#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>

#include <initializer_list>

class QPainter;

/// The one look of every picture of the game: pencil lines on sketchbook paper
/// with light hatching and watercolour washes. Every stroke takes its small
/// irregularities from the Random it is given, so the same calls always paint
/// the same picture. Units are pixels of the painter's device.
namespace sketchbook
{
/// Colours of the box of paints.
namespace ink
{
inline const QColor Paper{244, 239, 226};
inline const QColor Graphite{52, 52, 58};
inline const QColor Sky{178, 204, 222};
inline const QColor Sea{118, 160, 186};
inline const QColor Sand{226, 206, 156};
inline const QColor Grass{150, 186, 108};
inline const QColor Rock{168, 160, 148};
inline const QColor Earth{176, 140, 100};
inline const QColor Wood{186, 140, 88};
inline const QColor Leaf{112, 158, 92};
inline const QColor Sun{240, 200, 96};
inline const QColor Figure{0, 0, 191}; ///< the player's blue
inline const QColor Friend{46, 139, 87};
inline const QColor Danger{178, 70, 60};
} // namespace ink

/// A polyline from a list of points.
inline QPolygonF Points(std::initializer_list<QPointF> points) { return QPolygonF(QVector<QPointF>(points)); }

/// Paper with its grain and a faint darkening towards the edges of \a area.
void Paper(QPainter& painter, const QRectF& area, Random& random);

/// A pencil line along \a points: two light passes that wander a little and
/// overshoot the ends. \a widthPx is the pencil's width.
void Line(QPainter& painter, const QPolygonF& points, Random& random, double widthPx = 2.2,
          const QColor& color = ink::Graphite);
/// The outline of a closed shape (every subpath) in pencil.
void Outline(QPainter& painter, const QPainterPath& shape, Random& random, double widthPx = 2.2,
             const QColor& color = ink::Graphite);
/// Parallel pencil strokes across \a shape at \a degrees, \a spacingPx apart.
void Hatch(QPainter& painter, const QPainterPath& shape, Random& random, double degrees, double spacingPx,
           const QColor& color = ink::Graphite, double opacity = 0.35);
/// A watercolour wash over \a shape: uneven, a little darker where the pigment pooled at the edge.
void Wash(QPainter& painter, const QPainterPath& shape, Random& random, const QColor& color, double opacity = 0.55);

/// A hand-lettering font (Comic Neue, loaded from the system's fonts); false when it is missing.
bool LoadLettering();
QFont Lettering(double pixelSize, bool bold = true);
/// Text written in pencil, its baseline starting at \a origin.
void Write(QPainter& painter, const QString& text, QPointF origin, const QFont& font, Random& random,
           const QColor& color = ink::Graphite);
/// Text centred on \a centre.
void WriteCentred(QPainter& painter, const QString& text, QPointF centre, const QFont& font, Random& random,
                  const QColor& color = ink::Graphite);

/// The closed shape of a polygon.
QPainterPath Shape(const QPolygonF& polygon);
/// A puffy cloud, \a width wide, sitting on \a centre.
QPainterPath CloudShape(QPointF centre, double width, Random& random);
/// Rolling hills from \a left to \a right around height \a y, closed down to \a bottom.
QPainterPath HillsShape(double left, double right, double y, double bottom, double amplitude, Random& random);
/// The upper outline of a shape closed down to \a bottom (its lower edge left out).
QPolygonF TopEdge(const QPainterPath& shape, double bottom);
/// A washed sun with its rays.
void Sun(QPainter& painter, QPointF centre, double radius, Random& random);
/// A leafy tree, \a height tall, its trunk standing on \a foot.
void Tree(QPainter& painter, QPointF foot, double height, Random& random);

/// A stick figure standing with its feet at \a feet, \a heightPx tall, facing right
/// (or left when \a left), drawn in pencil of \a color.
void StickFigure(QPainter& painter, QPointF feet, double heightPx, Random& random, const QColor& color,
                 bool left = false);

/// A drawn pencil lying along \a tip → \a end (the sharpened point at \a tip).
void DrawnPencil(QPainter& painter, QPointF tip, QPointF end, double thicknessPx, Random& random);
} // namespace sketchbook
