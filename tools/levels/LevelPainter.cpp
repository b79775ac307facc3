#include "LevelPainter.h"

#include "Pencil.h"
#include "Sketchbook.h"

#include "common/ConvertUtils.h"
#include "world/Level.h"

#include <QPainter>

#include <cmath>

using namespace sketchbook;

namespace
{
enum class Ground
{
  Sand,
  Grass,
  Stone,
  Wood
};

// What a ground region is made of, told by the footsteps heard on it.
Ground groundKind(const QString& footsteps)
{
  if (footsteps.contains("sand"))
    return Ground::Sand;
  if (footsteps.contains("wood"))
    return Ground::Wood;
  if (footsteps.contains("stone"))
    return Ground::Stone;
  return Ground::Grass;
}

// FNV-1a: a seed from the level's title that stays the same on every machine.
quint64 seedOf(const QString& text)
{
  quint64 hash = 1469598103934665603ull;
  for (QChar c : text)
    hash = (hash ^ c.unicode()) * 1099511628211ull;
  return hash;
}

double px(double metres) { return m2px(metres); }
QPointF px(double x, double y) { return m2px(QPointF(x, y)); }

QPainterPath rectPath(const QRectF& rect)
{
  QPainterPath path;
  path.addRect(rect);
  return path;
}

void groundRegion(QPainter& painter, const QRectF& area, Ground kind, Random& random)
{
  const QPainterPath body = rectPath(area);
  // Ground is solid: the far hills or the sea behind it must not show through its wash.
  painter.fillPath(body, ink::Paper);
  switch (kind)
  {
  case Ground::Sand:
    Wash(painter, body, random, ink::Sand, 0.8);
    Hatch(painter, body, random, 30, 18, ink::Graphite, 0.12);
    for (int i = 0; i < int(area.width() * area.height() / 900); ++i)
    {
      const QPointF at(random.Uniform(area.left() + 4, area.right() - 4), random.Uniform(area.top() + 8, area.bottom()));
      painter.setPen(QPen(QColor(120, 100, 60, 90), random.Uniform(1.5, 3)));
      painter.drawPoint(at);
    }
    break;
  case Ground::Grass:
  {
    Wash(painter, body, random, ink::Earth, 0.7);
    Hatch(painter, body, random, 45, 14, ink::Graphite, 0.2);
    QPainterPath turf;
    turf.addRect(QRectF(area.left(), area.top(), area.width(), std::min(22.0, area.height())));
    Wash(painter, turf, random, ink::Grass, 0.9);
    break;
  }
  case Ground::Stone:
    Wash(painter, body, random, ink::Rock, 0.8);
    Hatch(painter, body, random, 60, 11, ink::Graphite, 0.22);
    // Cracks and ledges in the cliff face.
    for (int i = 0; i < int(area.width() * area.height() / 40000) + 1; ++i)
    {
      const QPointF start(random.Uniform(area.left() + 10, area.right() - 10),
                          random.Uniform(area.top() + 20, area.bottom() - 10));
      QPolygonF crack = Points({start});
      for (int k = 0; k < 3; ++k)
        crack << crack.last() + QPointF(random.Uniform(-18, 18), random.Uniform(8, 26));
      Line(painter, crack, random, 1.4);
    }
    break;
  case Ground::Wood:
    Wash(painter, body, random, ink::Wood, 0.85);
    for (double y = area.top() + 12; y < area.bottom() - 4; y += 12)
      Line(painter, Points({{area.left() + 2, y}, {area.right() - 2, y}}), random, 1.1);
    for (double x = area.left() + random.Uniform(40, 90); x < area.right() - 10; x += random.Uniform(70, 130))
      Line(painter, Points({{x, area.top()}, {x, area.bottom()}}), random, 1.1);
    break;
  }
  Outline(painter, body, random, 2.2);
  // The edge the figure walks on, firm and exactly at the top of the region.
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  QColor edge = ink::Graphite;
  edge.setAlpha(220);
  painter.setPen(QPen(edge, 3.0, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(QPointF(area.left(), area.top()), QPointF(area.right(), area.top()));
  painter.restore();
}

void liquid(QPainter& painter, const QRectF& area, Random& random)
{
  const QPainterPath body = rectPath(area);
  Wash(painter, body, random, ink::Sea, 0.85);
  Hatch(painter, body, random, 0, 16, ink::Sea.darker(160), 0.25);
  for (int i = 0; i < int(area.width() / 60); ++i)
  {
    const double x = random.Uniform(area.left(), area.right() - 80), y = area.top() + random.Uniform(10, 60);
    Line(painter, Points({{x, y}, {x + 25, y - 5}, {x + 50, y}, {x + 75, y - 5}}), random, 1.5);
  }
  Line(painter, Points({area.topLeft(), area.topRight()}), random, 2.4);
}

void palm(QPainter& painter, QPointF foot, double height, Random& random)
{
  QPolygonF trunk;
  for (int i = 0; i <= 8; ++i)
  {
    const double t = i / 8.0;
    trunk << foot + QPointF(height * 0.18 * t * t, -height * t);
  }
  const QPointF top = trunk.last();
  QPainterPath stem;
  QPolygonF outline;
  for (const QPointF& p : trunk)
    outline << p + QPointF(-height * 0.03, 0);
  for (int i = trunk.size() - 1; i >= 0; --i)
    outline << trunk[i] + QPointF(height * 0.03, 0);
  stem = Shape(outline);
  Wash(painter, stem, random, ink::Wood, 0.8);
  Outline(painter, stem, random);
  for (int i = 0; i < 8; ++i)
    Line(painter, Points({trunk[i] + QPointF(-height * 0.03, 0), trunk[i + 1] + QPointF(height * 0.03, -height * 0.02)}),
         random, 1.2);
  for (int i = 0; i < 6; ++i)
  {
    const double angle = Pi * (1.05 + 0.9 * i / 5.0);
    const QPointF tip = top + QPointF(std::cos(angle), std::sin(angle) * 0.6 + 0.25) * height * 0.42;
    const QPointF mid = (top + tip) / 2 + QPointF(0, -height * 0.08);
    QPainterPath leaf;
    leaf.moveTo(top);
    leaf.quadTo(mid + QPointF(0, -height * 0.05), tip);
    leaf.quadTo(mid + QPointF(0, height * 0.04), top);
    Wash(painter, leaf, random, ink::Leaf, 0.8);
    Outline(painter, leaf, random, 1.8);
  }
}

void bush(QPainter& painter, QPointF foot, double width, Random& random)
{
  QPainterPath shape;
  for (int i = 0; i < 4; ++i)
    shape.addEllipse(foot + QPointF(-width / 2 + width * (i + 0.5) / 4, -width * 0.22), width * 0.2, width * 0.22);
  shape.addRect(QRectF(foot.x() - width * 0.45, foot.y() - width * 0.22, width * 0.9, width * 0.22));
  shape.setFillRule(Qt::WindingFill);
  shape = shape.simplified();
  Wash(painter, shape, random, ink::Leaf, 0.75);
  Hatch(painter, shape, random, 40, 8, ink::Graphite, 0.2);
  Outline(painter, shape, random);
}

void boulder(QPainter& painter, const QRectF& box, Random& random)
{
  QPolygonF outline;
  for (int i = 0; i < 10; ++i)
  {
    const double angle = Pi + i * Pi / 9;
    outline << box.center() + QPointF(std::cos(angle) * box.width() / 2 * random.Uniform(0.85, 1.0),
                                      box.height() / 2 + std::sin(angle) * box.height() * random.Uniform(0.85, 1.0));
  }
  const QPainterPath shape = Shape(outline);
  Wash(painter, shape, random, ink::Rock, 0.8);
  Hatch(painter, shape, random, 60, 9, ink::Graphite, 0.25);
  Outline(painter, shape, random);
}

void signpost(QPainter& painter, QPointF foot, const QString& text, Random& random)
{
  const QFont font = Lettering(30);
  const double width = QFontMetricsF(font).horizontalAdvance(text) + 50;
  const QRectF board(foot.x() - 20, foot.y() - 175, width, 56);
  QPainterPath post;
  post.addRect(QRectF(foot.x() - 7, foot.y() - 130, 14, 130));
  Wash(painter, post, random, ink::Wood, 0.9);
  Outline(painter, post, random);
  // The board points on, to the right.
  const QPainterPath arrow = Shape(Points({board.topLeft(), board.topRight(), {board.right() + 26, board.center().y()},
                                           board.bottomRight(), board.bottomLeft()}));
  Wash(painter, arrow, random, ink::Wood.lighter(115), 0.9);
  Outline(painter, arrow, random, 2.4);
  WriteCentred(painter, text, board.center() + QPointF(4, 0), font, random);
}

void fence(QPainter& painter, double x1, double x2, double y, Random& random)
{
  for (double x = x1; x <= x2; x += 60)
    Line(painter, Points({{x, y}, {x + random.Uniform(-2, 2), y - 70}}), random, 2.4);
  Line(painter, Points({{x1 - 8, y - 52}, {x2 + 8, y - 54}}), random, 2.0);
  Line(painter, Points({{x1 - 8, y - 25}, {x2 + 8, y - 24}}), random, 2.0);
}

void flowers(QPainter& painter, double x1, double x2, double y, Random& random)
{
  const QColor colours[] = {QColor(220, 120, 140), QColor(240, 210, 90), QColor(250, 250, 245), QColor(190, 140, 220)};
  for (double x = x1; x <= x2; x += random.Uniform(25, 60))
  {
    const double height = random.Uniform(14, 30);
    Line(painter, Points({{x, y}, {x + random.Uniform(-3, 3), y - height}}), random, 1.4, ink::Leaf.darker(130));
    QPainterPath bloom;
    bloom.addEllipse(QPointF(x, y - height), 5, 5);
    Wash(painter, bloom, random, colours[random.Between(0, 3)], 1.0);
    Outline(painter, bloom, random, 1.2);
  }
}

void shells(QPainter& painter, double x1, double x2, double y, Random& random)
{
  for (double x = x1; x <= x2; x += random.Uniform(60, 140))
  {
    QPainterPath shell;
    shell.moveTo(x - 8, y);
    shell.arcTo(QRectF(x - 8, y - 8, 16, 16), 180, -180);
    shell.closeSubpath();
    Wash(painter, shell, random, QColor(240, 200, 190), 1.0);
    Outline(painter, shell, random, 1.2);
  }
}

// The inside of a cave from x1 to x2: its dark back wall instead of the sky,
// and a rock vault hanging down to about y = ceiling, with stalactites.
void cave(QPainter& painter, double x1, double x2, double ceiling, double bottom, Random& random)
{
  const QPainterPath wall = rectPath(QRectF(x1, 0, x2 - x1, bottom));
  painter.fillPath(wall, ink::Paper);
  Wash(painter, wall, random, ink::Rock.darker(135), 0.9);
  Hatch(painter, wall, random, 70, 13, ink::Graphite, 0.25);
  QPolygonF vault = Points({{x1, 0}});
  vault << QPointF(x1, ceiling + random.Uniform(-30, 10));
  for (double x = x1 + random.Uniform(30, 60); x < x2 - 20; x += random.Uniform(50, 110))
  {
    const double y = ceiling + random.Uniform(-35, 15);
    vault << QPointF(x, y);
    if (random.Chance(0.45))
      vault << QPointF(x + 12, y + random.Uniform(40, 90)) << QPointF(x + 24, y);
  }
  vault << QPointF(x2, ceiling + random.Uniform(-30, 10)) << QPointF(x2, 0);
  const QPainterPath rock = Shape(vault);
  painter.fillPath(rock, ink::Paper);
  Wash(painter, rock, random, ink::Rock, 0.85);
  Hatch(painter, rock, random, 60, 9, ink::Graphite, 0.3);
  Outline(painter, rock, random, 2.4);
}

// A torch burning in a bracket on the cave wall, its flame at \a flame.
void torch(QPainter& painter, QPointF flame, Random& random)
{
  const QPainterPath stick = Shape(Points({flame + QPointF(-5, 8), flame + QPointF(5, 8), flame + QPointF(3, 70),
                                           flame + QPointF(-3, 70)}));
  Wash(painter, stick, random, ink::Wood, 0.95);
  Outline(painter, stick, random, 1.8);
  Line(painter, Points({flame + QPointF(-10, 40), flame + QPointF(10, 40)}), random, 2.6);
  QPainterPath fire;
  fire.moveTo(flame + QPointF(0, -34));
  fire.quadTo(flame + QPointF(16, -6), flame + QPointF(8, 8));
  fire.lineTo(flame + QPointF(-8, 8));
  fire.quadTo(flame + QPointF(-16, -6), flame + QPointF(0, -34));
  Wash(painter, fire, random, QColor(240, 150, 60), 0.95);
  QPainterPath core;
  core.addEllipse(flame + QPointF(0, -2), 5, 9);
  Wash(painter, core, random, ink::Sun, 1.0);
  Outline(painter, fire, random, 1.6);
}

// A water mill standing at \a foot, \a height to the ridge of its roof: a
// house with a door and a window, its wheel in front of the left wall.
void mill(QPainter& painter, QPointF foot, double height, Random& random)
{
  const double width = 0.9 * height, eaves = 0.58 * height;
  const QRectF walls(foot.x() - width / 2, foot.y() - eaves, width, eaves);
  const QPointF wheelCentre(walls.left() - 0.04 * height, foot.y() - 0.3 * height);
  const double radius = 0.28 * height;
  const QPainterPath house = rectPath(walls);
  painter.fillPath(house, ink::Paper);
  Wash(painter, house, random, ink::Paper.darker(104), 0.95);
  Hatch(painter, house, random, 80, 14, ink::Graphite, 0.15);
  Outline(painter, house, random, 2.4);
  const QPainterPath roof = Shape(Points({walls.topLeft() + QPointF(-0.08 * width, 0),
                                          walls.topRight() + QPointF(0.08 * width, 0),
                                          {foot.x(), foot.y() - height}}));
  Wash(painter, roof, random, ink::Danger.lighter(125), 0.85);
  Hatch(painter, roof, random, 30, 10, ink::Graphite, 0.25);
  Outline(painter, roof, random, 2.4);
  const QPainterPath door = rectPath(QRectF(foot.x() + 0.08 * width, foot.y() - 0.34 * height, 0.2 * width, 0.34 * height));
  Wash(painter, door, random, ink::Wood, 0.95);
  Outline(painter, door, random, 2.0);
  const QPainterPath window = rectPath(QRectF(foot.x() - 0.34 * width, walls.top() + 0.18 * eaves, 0.22 * width, 0.26 * eaves));
  Wash(painter, window, random, ink::Sky.darker(115), 0.9);
  Outline(painter, window, random, 2.0);
  QPainterPath rim;
  rim.addEllipse(wheelCentre, radius, radius);
  rim.addEllipse(wheelCentre, radius * 0.82, radius * 0.82);
  Wash(painter, rim, random, ink::Wood.darker(110), 0.9);
  Outline(painter, rim, random, 2.0);
  for (int i = 0; i < 8; ++i)
  {
    const double angle = Pi * i / 4 + 0.2;
    const QPointF out(std::cos(angle), std::sin(angle));
    Line(painter, Points({wheelCentre, wheelCentre + out * radius * 0.82}), random, 2.0);
    Line(painter, Points({wheelCentre + out * radius, wheelCentre + out * radius * 1.16}), random, 3.0);
  }
}

void grassBlades(QPainter& painter, double x1, double x2, double y, double tallest, Random& random)
{
  for (double x = x1 + 3; x < x2 - 3; x += random.Uniform(5, 11))
  {
    const double height = random.Uniform(tallest * 0.4, tallest), lean = random.Uniform(-4, 4);
    Line(painter, Points({{x, y + 2}, {x + lean * 0.5, y - height * 0.6}, {x + lean, y - height}}), random, 1.3,
         ink::Leaf.darker(150));
  }
}
} // namespace

// A standing tree on a transparent picture just big enough for it, its foot at the bottom centre.
QImage treePicture(double height, Random& random)
{
  QImage picture(QSize(int(0.8 * height), int(1.05 * height)), QImage::Format_ARGB32_Premultiplied);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  Tree(painter, QPointF(picture.width() / 2.0, picture.height() - 2), height, random);
  return picture;
}

// Logs side by side, seen from the side: their round ends, lashed with rope.
QImage raftPicture(QSizeF size, Random& random)
{
  QImage picture(size.toSize(), QImage::Format_ARGB32_Premultiplied);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  const QRectF body = QRectF(QPointF(), size).adjusted(3, 3, -3, -3);
  const QPainterPath log = Shape(Points({body.topLeft() + QPointF(6, 0), body.topRight() - QPointF(6, 0),
                                         body.bottomRight() - QPointF(6, 0), body.bottomLeft() + QPointF(6, 0)}));
  Wash(painter, log, random, ink::Wood, 0.8);
  Hatch(painter, log, random, 0, 6, ink::Graphite, 0.2);
  Outline(painter, log, random, 2.4);
  for (double x = body.left() + 40; x < body.right() - 20; x += 90)
    Line(painter, Points({{x, body.top()}, {x + 6, body.bottom()}}), random, 2.2);
  return picture;
}

LevelPictures PaintLevel(const Level& level, const QList<DecorationItem>& decoration)
{
  const QSize size = m2px(level.GetSize()).toSize();
  // The background is opaque, so it is kept without alpha: the game then
  // shows the very pixels it loads instead of a converted copy of them.
  LevelPictures pictures{QImage(size, QImage::Format_RGB32), QImage(size, QImage::Format_ARGB32_Premultiplied),
                         {}};
  pictures.foreground.fill(Qt::transparent);
  Random random(seedOf(level.GetTitle()));
  for (const DecorationItem& item : decoration)
  {
    if (item.kind == "cut-tree")
      pictures.items.append({item.text, treePicture(px(item.numbers[0]), random)});
    else if (item.kind == "raft")
      pictures.items.append({item.text, raftPicture(QSizeF(px(item.numbers[0]), px(item.numbers[1])), random)});
  }
  QPainter back(&pictures.background);
  Paper(back, QRectF(QPointF(), size), random);

  double horizon = size.height() * 0.6;
  for (const DecorationItem& item : decoration)
    if (item.kind == "horizon")
      horizon = px(item.numbers[0]);
  QPainterPath sky;
  sky.addRect(QRectF(0, 0, size.width(), horizon + 60)); // under the dips of the far hills too
  Wash(back, sky, random, ink::Sky, 0.45);

  // Far things first, then what stands nearer, then the ground itself.
  for (const DecorationItem& item : decoration)
  {
    const QList<double>& n = item.numbers;
    if (item.kind == "sun")
      Sun(back, px(n[0], n[1]), px(n[2]), random);
    else if (item.kind == "title")
      WriteCentred(back, item.text, px(n[0], n[1]), Lettering(px(n[2])), random);
    else if (item.kind == "cloud")
    {
      const QPainterPath cloud = CloudShape(px(n[0], n[1]), px(n[2]), random);
      back.fillPath(cloud, QColor(252, 250, 244, 220));
      Outline(back, cloud, random, 2.0);
    }
    else if (item.kind == "bird")
    {
      const QPointF at = px(n[0], n[1]);
      Line(back, Points({at + QPointF(-14, -6), at + QPointF(-6, -1), at, at + QPointF(6, -1), at + QPointF(14, -7)}),
           random, 1.8);
    }
    else if (item.kind == "cave")
      cave(back, px(n[0]), px(n[1]), px(n[2]), size.height(), random);
    else if (item.kind == "hills")
    {
      // Far hills and the land below them, paler than the ground in front.
      const QPainterPath hills = HillsShape(px(n[0]), px(n[1]), horizon, size.height(), px(n[2]), random);
      Wash(back, hills, random, ink::Grass.lighter(112), 0.5);
      Line(back, TopEdge(hills, size.height()), random, 2.0);
    }
    else if (item.kind == "sea")
    {
      const QRectF water(px(n[0]), horizon, px(n[1]) - px(n[0]), size.height() - horizon);
      Wash(back, rectPath(water), random, ink::Sea, 0.6);
      Line(back, Points({water.topLeft(), water.topRight()}), random, 1.8);
      for (int i = 0; i < int(water.width() * water.height() / 30000); ++i)
      {
        const double x = random.Uniform(water.left(), water.right() - 90), y = random.Uniform(horizon + 10, water.bottom());
        Line(back, Points({{x, y}, {x + 30, y - 4}, {x + 60, y}, {x + 90, y - 4}}), random, 1.4);
      }
    }
  }
  for (const DecorationItem& item : decoration)
  {
    const QList<double>& n = item.numbers;
    if (item.kind == "tree")
      Tree(back, px(n[0], n[1]), px(n[2]), random);
    else if (item.kind == "palm")
      palm(back, px(n[0], n[1]), px(n[2]), random);
    else if (item.kind == "bush")
      bush(back, px(n[0], n[1]), px(n[2]), random);
    else if (item.kind == "rock")
      boulder(back, QRectF(px(n[0]) - px(n[2]) / 2, px(n[1]) - px(n[3]), px(n[2]), px(n[3])), random);
    else if (item.kind == "fence")
      fence(back, px(n[0]), px(n[1]), px(n[2]), random);
    else if (item.kind == "torch")
      torch(back, px(n[0], n[1]), random);
    else if (item.kind == "mill")
      mill(back, px(n[0], n[1]), px(n[2]), random);
  }

  for (const Level::LiquidRegion& region : level.GetLiquidRegions())
    liquid(back, m2px(region.area), random);
  for (const Level::StaticObject& object : level.GetStaticObjects())
  {
    QPolygonF outline;
    for (const QPointF& point : object.polygon)
      outline << m2px(point);
    const QPainterPath shape = Shape(outline);
    Wash(back, shape, random, ink::Rock, 0.85);
    Hatch(back, shape, random, 60, 9, ink::Graphite, 0.25);
    Outline(back, shape, random, 2.4);
  }
  for (const Level::GroundRegion& region : level.GetGroundRegions())
    groundRegion(back, m2px(region.area), groundKind(region.footstepsSound), random);

  // Small things lying on the ground and the signposts stand in front of it.
  for (const DecorationItem& item : decoration)
  {
    const QList<double>& n = item.numbers;
    if (item.kind == "shells")
      shells(back, px(n[0]), px(n[1]), px(n[2]), random);
    else if (item.kind == "flowers")
      flowers(back, px(n[0]), px(n[1]), px(n[2]), random);
    else if (item.kind == "sign")
      signpost(back, px(n[0], n[1]), item.text, random);
  }

  // In front of the figures: short grass on grassy ground, tall grass where asked.
  QPainter front(&pictures.foreground);
  for (const Level::GroundRegion& region : level.GetGroundRegions())
    if (groundKind(region.footstepsSound) == Ground::Grass)
    {
      const QRectF area = m2px(region.area);
      grassBlades(front, area.left(), area.right(), area.top(), 9, random);
    }
  for (const DecorationItem& item : decoration)
    if (item.kind == "front-grass")
      grassBlades(front, px(item.numbers[0]), px(item.numbers[1]), px(item.numbers[2]), 34, random);
  return pictures;
}
