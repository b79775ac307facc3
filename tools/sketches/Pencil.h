#pragma once

#include "SketchFile.h"

#include <QList>
#include <QPolygonF>

#include <initializer_list>

class Random;

/// For the angles of the generators.
inline constexpr double Pi = 3.141592653589793;

/// Draws a reference the way a person drags a mouse. Generators describe an
/// object in a frame of their own (any unit, y pointing down, pointing objects
/// pointing to +x); the pencil turns the strokes into a drawing of a given size
/// and pose, with mouse-like point spacing and a hand's wobble.
class Pencil
{
public:
  /// \a bend: how far, as a fraction of the size, the hand may bend the drawing.
  Pencil(Random& random, double bend) : m_random(random), m_bend(bend) {}

  Random& Rng() { return m_random; }

  void Stroke(const QPolygonF& points) { m_strokes << points; }

  /// Scales the strokes so that their longer side is \a sizePx, stretches x by
  /// \a aspect, flips them across the x axis when \a flipped, turns them by
  /// \a degrees counter-clockwise on screen, then resamples and wobbles them.
  QList<QPolygonF> Finish(double sizePx, double aspect, bool flipped, double degrees);

  // Shapes in the generator's frame. Angles in degrees, clockwise on screen from +x.
  static QPolygonF Line(QPointF a, QPointF b);
  static QPolygonF Polyline(std::initializer_list<QPointF> points);
  static QPolygonF Closed(QPolygonF points);
  static QPolygonF Arc(QPointF centre, double rx, double ry, double fromDegrees, double toDegrees,
                       double tiltDegrees = 0.0);
  /// Quadratic curve from \a a to \a b pulled towards \a control.
  static QPolygonF Curve(QPointF a, QPointF control, QPointF b);
  /// Teeth along a→b on its left-hand side on screen (y down), \a depth deep.
  static QPolygonF Zigzag(QPointF a, QPointF b, int teeth, double depth);
  static QPolygonF Join(std::initializer_list<QPolygonF> parts);

  /// A closed ellipse drawn by hand: starts anywhere, ends a little short of
  /// or past its start.
  QPolygonF Loop(QPointF centre, double rx, double ry, double tiltDegrees = 0.0);
  /// A closed outline of bumps (clouds, crowns of trees, petals drawn as one line).
  QPolygonF Bumps(QPointF centre, double rx, double ry, int bumps, double depth);
  /// An irregular closed blob (rocks, steaks).
  QPolygonF Blob(QPointF centre, double rx, double ry, double irregularity);

private:
  Random& m_random;
  double m_bend;
  QList<QPolygonF> m_strokes;
};
