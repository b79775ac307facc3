#include "Pencil.h"

#include "InputProtocol.h"
#include "Random.h"

#include <QLineF>
#include <QTransform>

#include <cmath>

namespace
{
constexpr double MouseSpacingPx = 8.0;

QPointF onEllipse(QPointF centre, double rx, double ry, double degrees, double tiltDegrees)
{
  const double a = degrees * Pi / 180.0;
  const double t = tiltDegrees * Pi / 180.0;
  const double x = rx * std::cos(a);
  const double y = ry * std::sin(a);
  return centre + QPointF(x * std::cos(t) - y * std::sin(t), x * std::sin(t) + y * std::cos(t));
}
} // namespace

QPolygonF Pencil::Line(QPointF a, QPointF b)
{
  return QPolygonF(QVector<QPointF>{a, b});
}

QPolygonF Pencil::Polyline(std::initializer_list<QPointF> points)
{
  return QPolygonF(QVector<QPointF>(points));
}

QPolygonF Pencil::Closed(QPolygonF points)
{
  if (!points.isEmpty())
    points << points.first();
  return points;
}

QPolygonF Pencil::Arc(QPointF centre, double rx, double ry, double fromDegrees, double toDegrees,
                      double tiltDegrees)
{
  const int steps = qMax(4, static_cast<int>(std::abs(toDegrees - fromDegrees) / 6.0));
  QPolygonF points;
  for (int i = 0; i <= steps; ++i)
    points << onEllipse(centre, rx, ry, fromDegrees + (toDegrees - fromDegrees) * i / steps, tiltDegrees);
  return points;
}

QPolygonF Pencil::Curve(QPointF a, QPointF control, QPointF b)
{
  QPolygonF points;
  constexpr int Steps = 16;
  for (int i = 0; i <= Steps; ++i)
  {
    const double t = static_cast<double>(i) / Steps;
    points << (1 - t) * (1 - t) * a + 2 * (1 - t) * t * control + t * t * b;
  }
  return points;
}

QPolygonF Pencil::Zigzag(QPointF a, QPointF b, int teeth, double depth)
{
  const QLineF line(a, b);
  const QPointF along = (b - a) / (2.0 * teeth);
  const QPointF normal = QPointF(line.dy(), -line.dx()) / line.length() * depth;
  QPolygonF points;
  points << a;
  for (int i = 0; i < teeth; ++i)
  {
    points << a + along * (2 * i + 1) + normal;
    points << a + along * (2 * i + 2);
  }
  return points;
}

QPolygonF Pencil::Join(std::initializer_list<QPolygonF> parts)
{
  QPolygonF joined;
  for (const QPolygonF& part : parts)
  {
    for (const QPointF& point : part)
    {
      if (joined.isEmpty() || joined.last() != point)
        joined << point;
    }
  }
  return joined;
}

QPolygonF Pencil::Loop(QPointF centre, double rx, double ry, double tiltDegrees)
{
  const double start = m_random.Uniform(0, 360);
  const double sweep = 360.0 + m_random.Uniform(-15, 25);
  const double direction = m_random.Sign();
  return Arc(centre, rx, ry, start, start + direction * sweep, tiltDegrees);
}

QPolygonF Pencil::Bumps(QPointF centre, double rx, double ry, int bumps, double depth)
{
  QPolygonF points;
  const double start = m_random.Uniform(0, 360);
  for (int b = 0; b < bumps; ++b)
  {
    for (int i = 0; i <= 8; ++i)
    {
      const double degrees = start + 360.0 * (b + i / 8.0) / bumps;
      const double bulge = 1.0 + depth * std::sin(Pi * i / 8.0);
      points << onEllipse(centre, rx * bulge, ry * bulge, degrees, 0.0);
    }
  }
  return points;
}

QPolygonF Pencil::Blob(QPointF centre, double rx, double ry, double irregularity)
{
  double phases[3];
  for (double& phase : phases)
    phase = m_random.Uniform(0, 2 * Pi);
  const double amplitude[3] = {m_random.Uniform(0, irregularity), m_random.Uniform(0, irregularity * 0.6),
                               m_random.Uniform(0, irregularity * 0.3)};
  QPolygonF points;
  const double start = m_random.Uniform(0, 360);
  for (int i = 0; i <= 60; ++i)
  {
    const double degrees = start + 6.0 * i;
    const double a = degrees * Pi / 180.0;
    double radius = 1.0;
    for (int k = 0; k < 3; ++k)
      radius += amplitude[k] * std::sin((k + 2) * a + phases[k]);
    points << onEllipse(centre, rx * radius, ry * radius, degrees, 0.0);
  }
  return points;
}

QList<QPolygonF> Pencil::Finish(double sizePx, double aspect, bool flipped, double degrees)
{
  QTransform shape;
  shape.scale(aspect, flipped ? -1.0 : 1.0);
  QList<QPolygonF> posed;
  for (const QPolygonF& stroke : m_strokes)
    posed << shape.map(stroke);
  posed = ScaleToLongerSide(posed, sizePx);

  // Nobody keeps proportions: the whole drawing is bent a little, differently
  // in every place, by a few slow waves across it. Each way by a share of the
  // object's own extent that way, so that long thin things stay straight.
  QRectF extent;
  for (const QPolygonF& stroke : posed)
    extent |= stroke.boundingRect();
  struct Wave
  {
    double kx, ky, phase, ax, ay;
  };
  Wave waves[3];
  const double bend = m_random.Uniform(0.0, m_bend);
  for (Wave& wave : waves)
  {
    const double angle = m_random.Uniform(0, 2 * Pi);
    const double frequency = m_random.Uniform(0.5, 1.5) * 2 * Pi / sizePx;
    wave = {frequency * std::cos(angle), frequency * std::sin(angle), m_random.Uniform(0, 2 * Pi),
            extent.width() * bend * m_random.Uniform(-1, 1), extent.height() * bend * m_random.Uniform(-1, 1)};
  }
  for (QPolygonF& stroke : posed)
  {
    for (QPointF& point : stroke)
    {
      QPointF shift;
      for (const Wave& wave : waves)
      {
        const double s = std::sin(wave.kx * point.x() + wave.ky * point.y() + wave.phase);
        shift += QPointF(wave.ax * s, wave.ay * s);
      }
      point += shift;
    }
  }
  QTransform turn;
  turn.rotate(-degrees);
  for (QPolygonF& stroke : posed)
    stroke = turn.map(stroke);
  posed = ScaleToLongerSide(posed, sizePx);
  posed = Resample(posed, MouseSpacingPx * m_random.Uniform(0.8, 1.25));

  // A hand drifts slowly along a stroke and trembles a little at every point.
  const double drift = sizePx * m_random.Uniform(0.004, 0.012);
  for (QPolygonF& stroke : posed)
  {
    const double fx = m_random.Uniform(0.5, 2.0), fy = m_random.Uniform(0.5, 2.0);
    const double px = m_random.Uniform(0, 2 * Pi), py = m_random.Uniform(0, 2 * Pi);
    double travelled = 0.0;
    for (int i = 0; i < stroke.size(); ++i)
    {
      if (i > 0)
        travelled += QLineF(stroke[i - 1], stroke[i]).length() / sizePx;
      stroke[i] += QPointF(drift * std::sin(2 * Pi * fx * travelled + px) + m_random.Uniform(-0.6, 0.6),
                           drift * std::sin(2 * Pi * fy * travelled + py) + m_random.Uniform(-0.6, 0.6));
    }
  }
  m_strokes.clear();
  return posed;
}
