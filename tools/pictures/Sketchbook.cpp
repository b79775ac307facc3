#include "Sketchbook.h"

#include "Pencil.h"

#include <QFontDatabase>
#include <QLineF>
#include <QPainter>
#include <QRadialGradient>
#include <QTransform>

#include <cmath>

namespace sketchbook
{
namespace
{

// A hand never stays on the ideal line: a slow drift made of two waves along the
// stroke, a fraction of a pixel to a couple of pixels away.
QPolygonF wander(const QPolygonF& points, Random& random, double amplitudePx, bool overshoot)
{
  QPolygonF dense;
  for (int i = 0; i + 1 < points.size(); ++i)
  {
    const QLineF segment(points[i], points[i + 1]);
    const int pieces = std::max(1, int(segment.length() / 7.0));
    for (int k = 0; k < pieces; ++k)
      dense << segment.pointAt(double(k) / pieces);
  }
  if (!points.isEmpty())
    dense << points.last();
  if (dense.size() < 2)
    return dense;
  if (overshoot)
  {
    const QLineF first(dense[1], dense[0]), last(dense[dense.size() - 2], dense.last());
    dense.prepend(first.pointAt(1.0 + random.Uniform(0.5, 3.0) / std::max(1.0, first.length())));
    dense.append(last.pointAt(1.0 + random.Uniform(0.5, 3.0) / std::max(1.0, last.length())));
  }
  const double phase1 = random.Uniform(0, 2 * Pi), phase2 = random.Uniform(0, 2 * Pi);
  const double wave1 = random.Uniform(80, 160), wave2 = random.Uniform(25, 45);
  QPolygonF out;
  double along = 0;
  for (int i = 0; i < dense.size(); ++i)
  {
    if (i > 0)
      along += QLineF(dense[i - 1], dense[i]).length();
    const QPointF tangent = dense[std::min(i + 1, int(dense.size()) - 1)] - dense[std::max(i - 1, 0)];
    const double length = std::hypot(tangent.x(), tangent.y());
    const QPointF normal = length > 0 ? QPointF(-tangent.y() / length, tangent.x() / length) : QPointF();
    const double offset = amplitudePx * (0.7 * std::sin(2 * Pi * along / wave1 + phase1) +
                                         0.3 * std::sin(2 * Pi * along / wave2 + phase2));
    out << dense[i] + normal * offset;
  }
  return out;
}

QPen pencil(const QColor& color, double widthPx, int alpha)
{
  QColor c = color;
  c.setAlpha(alpha);
  return QPen(c, widthPx, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}
} // namespace

void Paper(QPainter& painter, const QRectF& area, Random& random)
{
  painter.save();
  painter.fillRect(area, ink::Paper);
  // Grain: specks a shade darker or lighter, and here and there a fibre.
  const int specks = int(area.width() * area.height() / 350);
  for (int i = 0; i < specks; ++i)
  {
    const QPointF at(random.Uniform(area.left(), area.right()), random.Uniform(area.top(), area.bottom()));
    const bool dark = random.Chance(0.6);
    painter.setPen(QPen(dark ? QColor(120, 105, 80, random.Between(10, 28)) : QColor(255, 255, 250, 40), 1.2));
    painter.drawPoint(at);
  }
  const int fibres = int(area.width() * area.height() / 40000);
  for (int i = 0; i < fibres; ++i)
  {
    const QPointF at(random.Uniform(area.left(), area.right()), random.Uniform(area.top(), area.bottom()));
    const double angle = random.Uniform(0, 2 * Pi), length = random.Uniform(6, 18);
    painter.setPen(QPen(QColor(110, 95, 70, 16), 1.0));
    painter.drawLine(at, at + QPointF(std::cos(angle), std::sin(angle)) * length);
  }
  // The edges of an old page are a little darker.
  QRadialGradient vignette(area.center(), 0.75 * std::hypot(area.width(), area.height()));
  vignette.setColorAt(0.55, QColor(150, 125, 90, 0));
  vignette.setColorAt(1.0, QColor(150, 125, 90, 40));
  painter.fillRect(area, vignette);
  painter.restore();
}

void Line(QPainter& painter, const QPolygonF& points, Random& random, double widthPx, const QColor& color)
{
  if (points.size() < 2)
    return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(Qt::NoBrush);
  const bool closed = points.first() == points.last();
  painter.setPen(pencil(color, widthPx, 190));
  painter.drawPolyline(wander(points, random, 0.9, !closed));
  painter.setPen(pencil(color, widthPx * 0.6, 120));
  painter.drawPolyline(wander(points, random, 1.4, !closed));
  painter.restore();
}

void Outline(QPainter& painter, const QPainterPath& shape, Random& random, double widthPx, const QColor& color)
{
  for (QPolygonF polygon : shape.toSubpathPolygons())
  {
    if (!polygon.isEmpty() && polygon.first() != polygon.last())
      polygon << polygon.first();
    Line(painter, polygon, random, widthPx, color);
  }
}

void Hatch(QPainter& painter, const QPainterPath& shape, Random& random, double degrees, double spacingPx,
           const QColor& color, double opacity)
{
  const QRectF box = shape.boundingRect();
  if (box.isEmpty())
    return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setClipPath(shape, Qt::IntersectClip);
  const double radians = degrees * Pi / 180;
  const QPointF direction(std::cos(radians), std::sin(radians)), across(-direction.y(), direction.x());
  const double reach = std::hypot(box.width(), box.height()) / 2 + spacingPx;
  painter.setPen(pencil(color, 1.1, int(255 * opacity)));
  for (double offset = -reach; offset <= reach; offset += spacingPx * random.Uniform(0.8, 1.2))
  {
    const QPointF middle = box.center() + across * offset;
    const QPointF a = middle - direction * reach, b = middle + direction * reach;
    painter.drawLine(a + across * random.Uniform(-0.8, 0.8), b + across * random.Uniform(-0.8, 0.8));
  }
  painter.restore();
}

void Wash(QPainter& painter, const QPainterPath& shape, Random& random, const QColor& color, double opacity)
{
  const QRectF box = shape.boundingRect();
  if (box.isEmpty())
    return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  QColor layer = color;
  // Three thin layers, each a little off the outline: a soft, uneven edge.
  for (int pass = 0; pass < 3; ++pass)
  {
    layer.setAlphaF(opacity / 2.2);
    painter.setBrush(layer);
    painter.drawPath(QTransform::fromTranslate(random.Uniform(-2.5, 2.5), random.Uniform(-2.5, 2.5)).map(shape));
  }
  // Blooms where the water dried unevenly.
  painter.setClipPath(shape, Qt::IntersectClip);
  const int blooms = std::min(400, int(box.width() * box.height() / 9000) + 2);
  for (int i = 0; i < blooms; ++i)
  {
    const double radius = random.Uniform(12, 60);
    QRadialGradient bloom(QPointF(random.Uniform(box.left(), box.right()), random.Uniform(box.top(), box.bottom())),
                          radius);
    QColor inner = color.darker(random.Chance(0.5) ? 112 : 92);
    inner.setAlphaF(opacity * 0.25);
    QColor outer = inner;
    outer.setAlpha(0);
    bloom.setColorAt(0, inner);
    bloom.setColorAt(1, outer);
    painter.setBrush(bloom);
    painter.drawEllipse(bloom.center(), radius, radius);
  }
  // Pigment pools along the edge.
  QColor edge = color.darker(135);
  edge.setAlphaF(opacity * 0.45);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(edge, 2.5));
  painter.drawPath(shape);
  painter.restore();
}

bool LoadLettering()
{
  for (const char* file : {"/usr/share/fonts/opentype/comic-neue/ComicNeue-Bold.otf",
                           "/usr/share/fonts/opentype/comic-neue/ComicNeue-Regular.otf"})
    if (QFontDatabase::addApplicationFont(file) < 0)
      return false;
  return true;
}

QFont Lettering(double pixelSize, bool bold)
{
  QFont font("Comic Neue");
  font.setPixelSize(int(std::lround(pixelSize)));
  font.setBold(bold);
  return font;
}

void Write(QPainter& painter, const QString& text, QPointF origin, const QFont& font, Random& random,
           const QColor& color)
{
  QPainterPath glyphs;
  glyphs.addText(origin, font, text);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  QColor fill = color;
  fill.setAlpha(215);
  painter.fillPath(glyphs, fill);
  painter.restore();
  // Large letters are drawn: pencil around them and a little hatching inside.
  if (font.pixelSize() >= 60)
  {
    Outline(painter, glyphs, random, 2.0, color);
    Hatch(painter, glyphs, random, -60, 7, Qt::white, 0.25);
  }
}

void WriteCentred(QPainter& painter, const QString& text, QPointF centre, const QFont& font, Random& random,
                  const QColor& color)
{
  QPainterPath glyphs;
  glyphs.addText(QPointF(), font, text);
  const QRectF box = glyphs.boundingRect();
  Write(painter, text, centre - box.center(), font, random, color);
}

QPainterPath Shape(const QPolygonF& polygon)
{
  QPainterPath path;
  path.addPolygon(polygon);
  path.closeSubpath();
  return path;
}

// A puffy cloud: a few overlapping circles.
QPainterPath CloudShape(QPointF centre, double width, Random& random)
{
  QPainterPath path;
  const int puffs = random.Between(4, 6);
  for (int i = 0; i < puffs; ++i)
  {
    const double x = centre.x() - width / 2 + width * (i + 0.5) / puffs;
    const double r = width / puffs * random.Uniform(0.75, 1.05) * (i == 0 || i == puffs - 1 ? 0.8 : 1.1);
    path.addEllipse(QPointF(x, centre.y() - r * 0.3), r, r);
  }
  path.addRect(QRectF(centre.x() - width / 2, centre.y() - width * 0.06, width, width * 0.12));
  path.setFillRule(Qt::WindingFill);
  return path.simplified();
}

void Sun(QPainter& painter, QPointF centre, double radius, Random& random)
{
  QPainterPath disc;
  disc.addEllipse(centre, radius, radius);
  Wash(painter, disc, random, ink::Sun, 0.8);
  Outline(painter, disc, random, 2.2);
  for (int i = 0; i < 12; ++i)
  {
    const double angle = i * Pi / 6 + random.Uniform(-0.05, 0.05);
    const QPointF direction(std::cos(angle), std::sin(angle));
    Line(painter, Points({centre + direction * radius * 1.25, centre + direction * radius * random.Uniform(1.6, 1.8)}),
         random, 2.0);
  }
}

// A rolling line of hills from left to right around y, closed down to bottom.
QPainterPath HillsShape(double left, double right, double y, double bottom, double amplitude, Random& random)
{
  QPolygonF outline;
  const double p1 = random.Uniform(0, 2 * Pi), p2 = random.Uniform(0, 2 * Pi);
  for (double x = left; x <= right + 1; x += 12)
    outline << QPointF(x, y - amplitude * (0.6 * std::sin(x / 310 + p1) + 0.4 * std::sin(x / 130 + p2)));
  outline << QPointF(right, bottom) << QPointF(left, bottom);
  return Shape(outline);
}

QPolygonF TopEdge(const QPainterPath& area, double bottom)
{
  QPolygonF edge;
  QPolygonF outline = area.toFillPolygon();
  if (!outline.isEmpty() && outline.first() == outline.last())
    outline.removeLast();
  for (const QPointF& point : outline)
    if (point.y() < bottom - 1)
      edge << point;
  return edge;
}

void Tree(QPainter& painter, QPointF foot, double height, Random& random)
{
  QPainterPath trunk;
  trunk.addPolygon(Points({foot + QPointF(-height * 0.05, 0), foot + QPointF(-height * 0.03, -height * 0.55),
                             foot + QPointF(height * 0.03, -height * 0.55), foot + QPointF(height * 0.05, 0)}));
  trunk.closeSubpath();
  Wash(painter, trunk, random, ink::Wood, 0.7);
  Hatch(painter, trunk, random, 80, 5);
  Outline(painter, trunk, random);
  QPainterPath crown;
  const QPointF centre = foot + QPointF(0, -height * 0.7);
  for (int i = 0; i < 7; ++i)
  {
    const double angle = i * 2 * Pi / 7;
    crown.addEllipse(centre + QPointF(std::cos(angle) * height * 0.2, std::sin(angle) * height * 0.15),
                     height * 0.17, height * 0.15);
  }
  crown.addEllipse(centre, height * 0.2, height * 0.17); // no hole in the middle
  crown.setFillRule(Qt::WindingFill);
  crown = crown.simplified();
  Wash(painter, crown, random, ink::Leaf, 0.7);
  Hatch(painter, crown, random, 35, 9, ink::Graphite, 0.2);
  Outline(painter, crown, random);
}

void StickFigure(QPainter& painter, QPointF feet, double heightPx, Random& random, const QColor& color, bool left)
{
  const double h = heightPx, s = left ? -1.0 : 1.0;
  const double width = std::max(2.0, h * 0.035);
  const QPointF hips = feet + QPointF(0, -0.47 * h), neck = feet + QPointF(0.02 * s * h, -0.78 * h);
  const double headRadius = 0.1 * h;
  const QPointF head = neck + QPointF(0.01 * s * h, -headRadius * 1.05);
  QPolygonF circle;
  for (int i = 0; i <= 24; ++i)
    circle << head + QPointF(headRadius * std::cos(i * Pi / 12), headRadius * std::sin(i * Pi / 12));
  Line(painter, circle, random, width, color);
  Line(painter, Points({neck, hips}), random, width, color);
  Line(painter, Points({hips, hips + QPointF(0.08 * s * h, 0.24 * h), feet + QPointF(0.12 * s * h, 0)}), random,
       width, color);
  Line(painter, Points({hips, hips + QPointF(-0.05 * s * h, 0.25 * h), feet + QPointF(-0.1 * s * h, 0)}), random,
       width, color);
  const QPointF shoulders = neck + QPointF(0, 0.07 * h);
  Line(painter, Points({shoulders, shoulders + QPointF(0.12 * s * h, 0.13 * h), shoulders + QPointF(0.2 * s * h, 0.04 * h)}),
       random, width, color);
  Line(painter, Points({shoulders, shoulders + QPointF(-0.1 * s * h, 0.14 * h), shoulders + QPointF(-0.13 * s * h, 0.27 * h)}),
       random, width, color);
}

void DrawnPencil(QPainter& painter, QPointF tip, QPointF end, double thicknessPx, Random& random)
{
  const QLineF axis(tip, end);
  const double length = axis.length();
  if (length <= 0)
    return;
  const QPointF along = (end - tip) / length, across(-along.y() * thicknessPx / 2, along.x() * thicknessPx / 2);
  const double cone = thicknessPx * 1.6, lead = cone * 0.35, ferrule = thicknessPx * 0.9, eraser = thicknessPx * 0.9;
  const auto at = [&](double distance) { return tip + along * distance; };

  QPainterPath body;
  body.addPolygon(Points({at(cone) + across, at(length - ferrule - eraser) + across,
                            at(length - ferrule - eraser) - across, at(cone) - across, at(cone) + across}));
  QPainterPath wood;
  wood.addPolygon(Points({at(lead) + across * 0.35, at(cone) + across, at(cone) - across, at(lead) - across * 0.35,
                            at(lead) + across * 0.35}));
  QPainterPath graphite;
  graphite.addPolygon(Points({tip, at(lead) + across * 0.35, at(lead) - across * 0.35, tip}));
  QPainterPath band;
  band.addPolygon(Points({at(length - ferrule - eraser) + across, at(length - eraser) + across,
                            at(length - eraser) - across, at(length - ferrule - eraser) - across,
                            at(length - ferrule - eraser) + across}));
  QPainterPath rubber;
  rubber.addPolygon(Points({at(length - eraser) + across, end + across * 0.9, end - across * 0.9,
                              at(length - eraser) - across, at(length - eraser) + across}));

  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillPath(body, QColor(236, 190, 70));
  painter.fillPath(wood, QColor(226, 190, 140));
  painter.fillPath(graphite, QColor(60, 60, 66));
  painter.fillPath(band, QColor(180, 180, 176));
  painter.fillPath(rubber, QColor(228, 140, 150));
  painter.restore();
  const double pen = std::max(1.0, thicknessPx / 12);
  Line(painter, Points({at(cone) + across * 0.0, at(length - ferrule - eraser)}), random, pen * 0.7,
       QColor(160, 120, 40));
  for (const QPainterPath* part : {&body, &wood, &band, &rubber})
    Outline(painter, *part, random, pen);
}
} // namespace sketchbook
