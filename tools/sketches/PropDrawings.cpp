#include "Drawings.h"
#include "Pencil.h"
#include "Random.h"

#include <cmath>

// Props are drawn upright, centred on the origin, about two units across.
namespace drawings
{
namespace
{
using P = Pencil;

QPolygonF rectangle(double left, double top, double right, double bottom)
{
  return P::Closed(P::Polyline({{left, top}, {right, top}, {right, bottom}, {left, bottom}}));
}

QPolygonF polygon(QPointF centre, double radius, int corners, double startDegrees)
{
  QPolygonF points;
  for (int i = 0; i <= corners; ++i)
  {
    const double a = (startDegrees + 360.0 * i / corners) * Pi / 180.0;
    points << centre + radius * QPointF(std::cos(a), std::sin(a));
  }
  return points;
}
} // namespace

void Box(Pencil& p)
{
  Random& r = p.Rng();
  const double w = r.Uniform(0.6, 1.0), h = r.Uniform(0.6, 1.0);
  p.Stroke(rectangle(-w, -h, w, h));
  if (r.Chance(0.5))
  { // seen from above a corner: the top and a side face
    const double dx = w * r.Uniform(0.3, 0.5), dy = h * r.Uniform(0.3, 0.5);
    p.Stroke(P::Polyline({{-w, -h}, {-w + dx, -h - dy}, {w + dx, -h - dy}, {w, -h}}));
    p.Stroke(P::Polyline({{w + dx, -h - dy}, {w + dx, h - dy}, {w, h}}));
  }
  else if (r.Chance(0.4))
  {
    p.Stroke(P::Line({-w, -h}, {w, h}));
    p.Stroke(P::Line({w, -h}, {-w, h}));
  }
}

void Ball(Pencil& p)
{
  Random& r = p.Rng();
  p.Stroke(p.Loop({0, 0}, 1, 1));
  const double style = r.Uniform(0, 1);
  if (style < 0.3)
  { // beach ball
    p.Stroke(P::Curve({0, -1}, {-0.6, 0}, {0, 1}));
    p.Stroke(P::Curve({0, -1}, {0.6, 0}, {0, 1}));
  }
  else if (style < 0.55)
  { // basketball
    p.Stroke(P::Line({-1, 0}, {1, 0}));
    p.Stroke(P::Line({0, -1}, {0, 1}));
    p.Stroke(P::Curve({-0.7, -0.7}, {-0.2, 0}, {-0.7, 0.7}));
    p.Stroke(P::Curve({0.7, -0.7}, {0.2, 0}, {0.7, 0.7}));
  }
  else if (style < 0.75)
  { // football
    p.Stroke(polygon({0, 0}, 0.3, 5, -90));
    for (int i = 0; i < 5; ++i)
    {
      const double a = (-90 + 72.0 * i) * Pi / 180.0;
      p.Stroke(P::Line(0.3 * QPointF(std::cos(a), std::sin(a)), 0.95 * QPointF(std::cos(a), std::sin(a))));
    }
  }
}

void Plank(Pencil& p)
{
  Random& r = p.Rng();
  const double h = r.Uniform(0.08, 0.2);
  p.Stroke(rectangle(-1, -h, 1, h));
  const int grains = r.Chance(0.5) ? r.Between(1, 3) : 0;
  for (int i = 0; i < grains; ++i)
  {
    const double y = -h + 2 * h * (i + 1) / (grains + 1);
    const double from = r.Uniform(-0.9, 0.2);
    p.Stroke(P::Curve({from, y}, {from + 0.3, y + r.Uniform(-0.05, 0.05)}, {from + r.Uniform(0.4, 0.7), y}));
  }
  if (r.Chance(0.3))
  {
    p.Stroke(p.Loop({-0.85, 0}, 0.03, 0.03));
    p.Stroke(p.Loop({0.85, 0}, 0.03, 0.03));
  }
}

void Rock(Pencil& p)
{
  Random& r = p.Rng();
  QPolygonF outline = p.Blob({0, 0}, 1, r.Uniform(0.5, 0.8), r.Uniform(0.1, 0.25));
  const double floor = r.Uniform(0.35, 0.6);
  for (QPointF& point : outline)
    point.setY(std::min(point.y(), floor));
  p.Stroke(outline);
  const int cracks = r.Between(0, 2);
  for (int i = 0; i < cracks; ++i)
  {
    const QPointF a(r.Uniform(-0.6, 0.4), r.Uniform(-0.3, 0.1));
    p.Stroke(P::Polyline({a, a + QPointF(0.1, 0.1), a + QPointF(0.15, 0.25)}));
  }
}

void Wheel(Pencil& p)
{
  Random& r = p.Rng();
  p.Stroke(p.Loop({0, 0}, 1, 1));
  if (r.Chance(0.7))
    p.Stroke(p.Loop({0, 0}, 0.8, 0.8));
  const double hub = r.Uniform(0.1, 0.25);
  p.Stroke(p.Loop({0, 0}, hub, hub));
  const int spokes = r.Between(0, 8);
  const double start = r.Uniform(0, 360);
  for (int i = 0; i < spokes; ++i)
  {
    const double a = (start + 360.0 * i / spokes) * Pi / 180.0;
    p.Stroke(P::Line(hub * QPointF(std::cos(a), std::sin(a)), 0.8 * QPointF(std::cos(a), std::sin(a))));
  }
}

void House(Pencil& p)
{
  Random& r = p.Rng();
  const double w = r.Uniform(0.6, 1.0), wall = r.Uniform(0.5, 0.9), roof = r.Uniform(0.4, 0.8);
  const double eaves = r.Uniform(0.0, 0.15);
  if (r.Chance(0.5))
    p.Stroke(P::Polyline({{-w, 0}, {-w, wall}, {w, wall}, {w, 0}, {-w, 0}}));
  else
    p.Stroke(P::Polyline({{-w, 0}, {-w, wall}, {w, wall}, {w, 0}}));
  p.Stroke(P::Polyline({{-w - eaves, 0}, {0, -roof}, {w + eaves, 0}, {-w - eaves, 0}}));
  const double doorWidth = w * r.Uniform(0.2, 0.35);
  const double doorX = r.Uniform(-0.4, 0.4) * w;
  p.Stroke(P::Polyline({{doorX - doorWidth / 2, wall}, {doorX - doorWidth / 2, wall * 0.45}, {doorX + doorWidth / 2, wall * 0.45},
                        {doorX + doorWidth / 2, wall}}));
  const int windows = r.Between(0, 2);
  for (int i = 0; i < windows; ++i)
  {
    const double x = (doorX > 0 ? -1 : 1) * w * (0.35 + 0.3 * i);
    const double size = w * 0.14;
    p.Stroke(rectangle(x - size, wall * 0.2, x + size, wall * 0.2 + 2 * size));
    if (r.Chance(0.5))
    {
      p.Stroke(P::Line({x, wall * 0.2}, {x, wall * 0.2 + 2 * size}));
      p.Stroke(P::Line({x - size, wall * 0.2 + size}, {x + size, wall * 0.2 + size}));
    }
  }
  if (r.Chance(0.4))
    p.Stroke(P::Polyline({{w * 0.45, -roof * 0.55}, {w * 0.45, -roof * 0.9}, {w * 0.65, -roof * 0.9}, {w * 0.65, -roof * 0.35}}));
}

void Tree(Pencil& p)
{
  Random& r = p.Rng();
  const double trunk = r.Uniform(0.1, 0.2);
  const double ground = 1.0;
  if (r.Chance(0.25))
  { // a fir
    const double w = r.Uniform(0.5, 0.8);
    p.Stroke(P::Polyline({{-w, 0.6}, {0, -1}, {w, 0.6}, {-w, 0.6}}));
    p.Stroke(P::Polyline({{-trunk, 0.6}, {-trunk, ground}, {trunk, ground}, {trunk, 0.6}}));
    return;
  }
  const double crownY = r.Uniform(-0.45, -0.25);
  const double rx = r.Uniform(0.55, 0.85), ry = r.Uniform(0.45, 0.7);
  if (r.Chance(0.6))
    p.Stroke(p.Bumps({0, crownY}, rx * 0.85, ry * 0.85, r.Between(5, 9), r.Uniform(0.12, 0.25)));
  else
    p.Stroke(p.Loop({0, crownY}, rx, ry));
  const double top = crownY + ry * 0.85;
  p.Stroke(P::Line({-trunk, top}, {-trunk * 1.2, ground}));
  p.Stroke(P::Line({trunk, top}, {trunk * 1.2, ground}));
  if (r.Chance(0.3))
    p.Stroke(P::Line({-0.7, ground}, {0.7, ground}));
  const int apples = r.Chance(0.25) ? r.Between(2, 5) : 0;
  for (int i = 0; i < apples; ++i)
    p.Stroke(p.Loop({r.Uniform(-0.5, 0.5) * rx, crownY + r.Uniform(-0.4, 0.4) * ry}, 0.06, 0.06));
}

void Car(Pencil& p)
{
  Random& r = p.Rng();
  const double bodyTop = -r.Uniform(0.05, 0.2), bodyBottom = r.Uniform(0.25, 0.35);
  const double roof = bodyTop - r.Uniform(0.3, 0.45);
  const double cabinFrom = -r.Uniform(0.4, 0.6), cabinTo = r.Uniform(0.3, 0.5);
  const double wheel = r.Uniform(0.16, 0.24);
  p.Stroke(P::Polyline({{-1, bodyBottom}, {-1, bodyTop}, {cabinFrom, bodyTop}, {cabinFrom + 0.15, roof}, {cabinTo - 0.1, roof},
                        {cabinTo + 0.1, bodyTop}, {1, bodyTop + 0.05}, {1, bodyBottom}, {0.55 + wheel, bodyBottom}}));
  p.Stroke(P::Line({0.55 - wheel, bodyBottom}, {-0.55 + wheel, bodyBottom}));
  p.Stroke(p.Loop({-0.55, bodyBottom}, wheel, wheel));
  p.Stroke(p.Loop({0.55, bodyBottom}, wheel, wheel));
  if (r.Chance(0.6))
  {
    p.Stroke(P::Line({(cabinFrom + cabinTo) / 2, roof}, {(cabinFrom + cabinTo) / 2, bodyTop}));
    p.Stroke(P::Polyline({{cabinFrom + 0.08, bodyTop}, {cabinFrom + 0.2, roof + 0.06}, {cabinTo - 0.12, roof + 0.06}, {cabinTo + 0.02, bodyTop}}));
  }
}

void Fish(Pencil& p)
{
  Random& r = p.Rng();
  const double ry = r.Uniform(0.3, 0.5);
  const double tail = r.Uniform(0.25, 0.45);
  if (r.Chance(0.5))
  {
    p.Stroke(p.Loop({0.1, 0}, 0.75, ry));
    p.Stroke(P::Closed(P::Polyline({{-0.62, 0}, {-1, -tail}, {-1, tail}})));
  }
  else // the body ends crossing into the tail
    p.Stroke(P::Join({P::Curve({-1, -tail}, {0.2, ry * 2.2}, {0.85, 0}), P::Curve({0.85, 0}, {0.2, -ry * 2.2}, {-1, tail}),
                      P::Line({-1, tail}, {-1, -tail})}));
  p.Stroke(p.Loop({0.5, -ry * 0.2}, 0.05, 0.05));
  if (r.Chance(0.5))
    p.Stroke(P::Curve({0.3, -ry * 0.8}, {0.35, 0}, {0.3, ry * 0.8}));
  if (r.Chance(0.4))
    p.Stroke(P::Polyline({{-0.1, -ry * 0.95}, {-0.25, -ry * 1.4}, {0.15, -ry * 0.95}}));
}

void Star(Pencil& p)
{
  Random& r = p.Rng();
  const double inner = r.Uniform(0.35, 0.5);
  QPolygonF star;
  for (int i = 0; i <= 10; ++i)
  {
    const double a = (-90 + 36.0 * i) * Pi / 180.0;
    star << QPointF(std::cos(a), std::sin(a)) * (i % 2 ? inner : 1.0);
  }
  if (r.Chance(0.3))
  { // drawn without lifting, across the middle
    star.clear();
    for (int i = 0; i <= 5; ++i)
    {
      const double a = (-90 + 144.0 * i) * Pi / 180.0;
      star << QPointF(std::cos(a), std::sin(a));
    }
  }
  p.Stroke(star);
}

void Heart(Pencil& p)
{
  Random& r = p.Rng();
  const double dip = r.Uniform(0.1, 0.35);
  const double lobe = r.Uniform(0.5, 0.6);
  p.Stroke(P::Join({P::Curve({0, -0.5 + dip}, {-0.1, -1.0}, {-lobe, -0.9}), P::Curve({-lobe, -0.9}, {-1.2, -0.7}, {-0.8, 0.0}),
                    P::Curve({-0.8, 0.0}, {-0.4, 0.5}, {0, 1}), P::Curve({0, 1}, {0.4, 0.5}, {0.8, 0.0}),
                    P::Curve({0.8, 0.0}, {1.2, -0.7}, {lobe, -0.9}), P::Curve({lobe, -0.9}, {0.1, -1.0}, {0, -0.5 + dip})}));
}

void Cloud(Pencil& p)
{
  Random& r = p.Rng();
  p.Stroke(p.Bumps({0, 0}, 0.9, r.Uniform(0.35, 0.5), r.Between(5, 9), r.Uniform(0.15, 0.3)));
  if (r.Chance(0.2))
  {
    for (int i = 0; i < 4; ++i)
      p.Stroke(P::Line({-0.5 + 0.3 * i, 0.7}, {-0.6 + 0.3 * i, 0.95}));
  }
}

void Face(Pencil& p)
{
  Random& r = p.Rng();
  const double ry = r.Uniform(0.9, 1.1);
  p.Stroke(p.Loop({0, 0}, 0.85, ry));
  const double eyes = r.Uniform(0.25, 0.4);
  const double eyeSize = r.Uniform(0.04, 0.15);
  p.Stroke(p.Loop({-eyes, -0.25}, eyeSize, eyeSize));
  p.Stroke(p.Loop({eyes, -0.25}, eyeSize, eyeSize));
  if (r.Chance(0.6))
    p.Stroke(P::Polyline({{0, -0.1}, {-0.08, 0.15}, {0.05, 0.17}}));
  const double mouth = r.Uniform(0.25, 0.45);
  p.Stroke(P::Arc({0, 0.3}, mouth, r.Uniform(0.05, 0.25), 20, 160));
  if (r.Chance(0.4))
  {
    for (int side : {-1, 1})
      p.Stroke(P::Arc({side * 0.87, 0}, 0.12, 0.2, side > 0 ? -90 : 90, side > 0 ? 90 : 270));
  }
  if (r.Chance(0.4))
    p.Stroke(P::Zigzag({-0.7, -ry * 0.7}, {0.7, -ry * 0.7}, r.Between(4, 8), -0.25));
}

void Bird(Pencil& p)
{
  Random& r = p.Rng();
  if (r.Chance(0.3))
  { // a gull in the sky
    p.Stroke(P::Join({P::Curve({-1, 0}, {-0.5, -0.6}, {0, 0}), P::Curve({0, 0}, {0.5, -0.6}, {1, 0})}));
    return;
  }
  const double ry = r.Uniform(0.3, 0.45);
  p.Stroke(p.Loop({0, 0}, 0.6, ry));
  p.Stroke(p.Loop({0.65, -ry - 0.05}, 0.22, 0.22));
  p.Stroke(P::Polyline({{0.85, -ry - 0.1}, {1.05, -ry - 0.02}, {0.86, -ry + 0.03}}));
  p.Stroke(P::Polyline({{-0.55, -0.1}, {-1.0, -0.35}, {-0.95, 0.05}, {-0.55, 0.1}}));
  p.Stroke(P::Curve({-0.25, -0.05}, {0.0, 0.35}, {0.3, -0.05}));
  if (r.Chance(0.7))
  {
    p.Stroke(P::Line({-0.1, ry}, {-0.12, ry + 0.3}));
    p.Stroke(P::Line({0.15, ry}, {0.13, ry + 0.3}));
  }
}

void Boat(Pencil& p)
{
  Random& r = p.Rng();
  const double deck = r.Uniform(0.2, 0.4);
  p.Stroke(P::Closed(P::Polyline({{-1, deck}, {1, deck}, {0.65, 0.8}, {-0.65, 0.8}})));
  const double mastX = r.Uniform(-0.15, 0.15);
  p.Stroke(P::Line({mastX, deck}, {mastX, -1}));
  if (r.Chance(0.7))
    p.Stroke(P::Closed(P::Polyline({{mastX, -0.95}, {mastX + r.Uniform(0.5, 0.8), deck - 0.1}, {mastX, deck - 0.1}})));
  else
    p.Stroke(rectangle(mastX - 0.5, -0.8, mastX + 0.5, deck - 0.15));
  if (r.Chance(0.3))
    p.Stroke(P::Zigzag({-1.1, 0.9}, {1.1, 0.9}, 6, 0.1));
}

void Cup(Pencil& p)
{
  Random& r = p.Rng();
  const double top = r.Uniform(0.55, 0.8), bottom = top * r.Uniform(0.75, 1.0);
  p.Stroke(P::Polyline({{-top, -0.8}, {-bottom, 0.9}, {bottom, 0.9}, {top, -0.8}}));
  if (r.Chance(0.6))
    p.Stroke(p.Loop({0, -0.8}, top, 0.12));
  else
    p.Stroke(P::Line({-top, -0.8}, {top, -0.8}));
  if (r.Chance(0.75))
    p.Stroke(P::Arc({top * 0.95, 0.0}, 0.35, 0.4, -80, 80));
  if (r.Chance(0.3))
  {
    p.Stroke(P::Curve({-0.1, -1.0}, {-0.25, -1.2}, {-0.1, -1.4}));
    p.Stroke(P::Curve({0.15, -1.0}, {0.0, -1.2}, {0.15, -1.4}));
  }
}

void Glass(Pencil& p)
{
  // A stemmed glass: a bowl, a thin stem, a flat foot.
  Random& r = p.Rng();
  const double rim = r.Uniform(0.35, 0.6), bowl = r.Uniform(0.6, 1.0), stem = r.Uniform(0.5, 0.9);
  const double foot = rim * r.Uniform(0.6, 1.1);
  const double top = -1.0, bowlBottom = top + bowl;
  if (r.Chance(0.5)) // a round bowl
    p.Stroke(P::Join({P::Curve({-rim, top}, {-rim * 1.1, bowlBottom}, {0, bowlBottom}),
                      P::Curve({0, bowlBottom}, {rim * 1.1, bowlBottom}, {rim, top})}));
  else // a cone
    p.Stroke(P::Polyline({{-rim, top}, {0, bowlBottom}, {rim, top}}));
  if (r.Chance(0.6))
    p.Stroke(r.Chance(0.5) ? p.Loop({0, top}, rim, rim * 0.15) : P::Line({-rim, top}, {rim, top}));
  const double half = r.Uniform(0.0, 0.04);
  if (half < 0.015)
    p.Stroke(P::Line({0, bowlBottom}, {0, bowlBottom + stem}));
  else
  {
    p.Stroke(P::Line({-half, bowlBottom}, {-half, bowlBottom + stem}));
    p.Stroke(P::Line({half, bowlBottom}, {half, bowlBottom + stem}));
  }
  if (r.Chance(0.5))
    p.Stroke(p.Loop({0, bowlBottom + stem}, foot, foot * 0.15));
  else
    p.Stroke(P::Line({-foot, bowlBottom + stem}, {foot, bowlBottom + stem}));
}

void Ear(Pencil& p)
{
  // Seen from the side: a tall C, wider at the top, with the inner fold.
  Random& r = p.Rng();
  const double w = r.Uniform(0.45, 0.7);
  const double lobe = r.Uniform(0.1, 0.3);
  p.Stroke(P::Join({P::Curve({-w * 0.5, -0.6}, {-w * 0.1, -1.15}, {w * 0.6, -0.75}),
                    P::Curve({w * 0.6, -0.75}, {w * 1.1, -0.2}, {w * 0.4, 0.35}),
                    P::Curve({w * 0.4, 0.35}, {w * 0.2, 0.8 + lobe}, {-w * 0.2, 0.7 + lobe * 0.5})}));
  if (r.Chance(0.8))
    p.Stroke(P::Join({P::Curve({-w * 0.2, -0.3}, {w * 0.1, -0.7}, {w * 0.4, -0.35}),
                      P::Curve({w * 0.4, -0.35}, {w * 0.5, 0.0}, {w * 0.1, 0.25})}));
  if (r.Chance(0.4))
    p.Stroke(P::Curve({-w * 0.05, 0.0}, {w * 0.2, -0.1}, {w * 0.1, 0.2}));
  if (r.Chance(0.3)) // the side of the head
    p.Stroke(P::Curve({-w * 0.7, -1.0}, {-w * 0.9, 0.0}, {-w * 0.6, 0.9}));
}

void Octopus(Pencil& p)
{
  // A round head and wavy arms hanging from it.
  Random& r = p.Rng();
  const double head = r.Uniform(0.4, 0.55);
  const QPointF centre(0, -0.45);
  if (r.Chance(0.6))
    p.Stroke(p.Loop(centre, head, head * r.Uniform(0.85, 1.15)));
  else
    p.Stroke(P::Arc(centre, head, head * r.Uniform(0.9, 1.2), 160, 380));
  const int arms = r.Between(4, 8);
  const double wave = r.Uniform(0.05, 0.15);
  for (int i = 0; i < arms; ++i)
  {
    const double x = head * (-0.9 + 1.8 * i / (arms - 1));
    const double length = r.Uniform(0.8, 1.3);
    QPolygonF arm;
    for (int k = 0; k <= 12; ++k)
    {
      const double t = k / 12.0;
      arm << QPointF(x * (1 + 0.6 * t) + wave * std::sin(t * 9 + i), centre.y() + head * 0.6 + length * t);
    }
    p.Stroke(arm);
  }
  if (r.Chance(0.6))
  {
    p.Stroke(p.Loop(centre + QPointF(-head * 0.35, 0), head * 0.1, head * 0.1));
    p.Stroke(p.Loop(centre + QPointF(head * 0.35, 0), head * 0.1, head * 0.1));
  }
}

void Screen(Pencil& p)
{
  Random& r = p.Rng();
  const double w = 1, h = r.Uniform(0.6, 0.8);
  p.Stroke(rectangle(-w, -h, w, h * 0.7));
  if (r.Chance(0.7))
    p.Stroke(rectangle(-w * 0.85, -h * 0.85, w * 0.85, h * 0.55));
  const double style = r.Uniform(0, 1);
  if (style < 0.4)
  { // a stand
    p.Stroke(P::Polyline({{-0.1, h * 0.7}, {-0.1, h * 0.95}, {0.1, h * 0.95}, {0.1, h * 0.7}}));
    p.Stroke(P::Line({-0.4, h * 1.05}, {0.4, h * 1.05}));
  }
  else if (style < 0.7)
  { // antennas
    p.Stroke(P::Line({0, -h}, {-0.35, -h - 0.4}));
    p.Stroke(P::Line({0, -h}, {0.35, -h - 0.4}));
  }
  else
    p.Stroke(P::Polyline({{-w, h * 0.7}, {-w * 1.15, h * 1.1}, {w * 1.15, h * 1.1}, {w, h * 0.7}}));
}

void Bottle(Pencil& p)
{
  Random& r = p.Rng();
  const double w = r.Uniform(0.3, 0.45), neck = r.Uniform(0.1, 0.16), shoulder = r.Uniform(-0.3, 0.0);
  p.Stroke(P::Join({P::Line({-neck, -1}, {-neck, shoulder - 0.3}), P::Curve({-neck, shoulder - 0.3}, {-w, shoulder - 0.2}, {-w, shoulder}),
                    P::Line({-w, shoulder}, {-w, 1}), P::Line({-w, 1}, {w, 1}), P::Line({w, 1}, {w, shoulder}),
                    P::Curve({w, shoulder}, {w, shoulder - 0.2}, {neck, shoulder - 0.3}), P::Line({neck, shoulder - 0.3}, {neck, -1})}));
  if (r.Chance(0.5))
    p.Stroke(rectangle(-neck * 1.2, -1.1, neck * 1.2, -0.95));
  if (r.Chance(0.5))
    p.Stroke(rectangle(-w, shoulder + 0.3, w, shoulder + 0.8));
}

void Cat(Pencil& p)
{
  Random& r = p.Rng();
  const bool whole = r.Chance(0.4);
  const QPointF head(0, whole ? -0.5 : 0);
  const double radius = whole ? 0.35 : 0.8;
  p.Stroke(p.Loop(head, radius, radius * 0.85));
  for (int side : {-1, 1})
    p.Stroke(P::Polyline({head + QPointF(side * radius * 0.85, -radius * 0.45), head + QPointF(side * radius * 0.75, -radius * 1.35),
                          head + QPointF(side * radius * 0.25, -radius * 0.8)}));
  p.Stroke(p.Loop(head + QPointF(-radius * 0.35, -radius * 0.15), radius * 0.08, radius * 0.12));
  p.Stroke(p.Loop(head + QPointF(radius * 0.35, -radius * 0.15), radius * 0.08, radius * 0.12));
  for (int side : {-1, 1})
  {
    p.Stroke(P::Line(head + QPointF(side * radius * 0.2, radius * 0.2), head + QPointF(side * radius * 1.1, radius * 0.05)));
    p.Stroke(P::Line(head + QPointF(side * radius * 0.2, radius * 0.3), head + QPointF(side * radius * 1.1, radius * 0.4)));
  }
  if (whole)
  {
    p.Stroke(p.Loop({0, 0.35}, 0.45, 0.5));
    p.Stroke(P::Curve({0.4, 0.7}, {1.0, 0.8}, {0.9, 0.1}));
  }
}

void Snake(Pencil& p)
{
  Random& r = p.Rng();
  const double amplitude = r.Uniform(0.2, 0.45);
  const double waves = r.Uniform(1.0, 2.0);
  const double width = r.Uniform(0.05, 0.1);
  QPolygonF upper, lower;
  for (int i = 0; i <= 40; ++i)
  {
    const double x = -1 + 2.0 * i / 40;
    const double y = amplitude * std::sin(waves * Pi * (x + 1));
    upper << QPointF(x, y - width * (0.3 + 0.7 * i / 40));
    lower << QPointF(x, y + width * (0.3 + 0.7 * i / 40));
  }
  p.Stroke(upper);
  p.Stroke(lower);
  const QPointF head = (upper.last() + lower.last()) / 2 + QPointF(0.08, 0);
  p.Stroke(p.Loop(head, 0.12, 0.09));
  p.Stroke(P::Polyline({head + QPointF(0.12, 0), head + QPointF(0.22, 0), head + QPointF(0.27, -0.04)}));
}

void Airplane(Pencil& p)
{
  Random& r = p.Rng();
  const double body = r.Uniform(0.1, 0.16);
  p.Stroke(P::Join({P::Arc({0.8, 0}, 0.2, body, -90, 90), P::Line({0.8, body}, {-0.9, body * 0.5}),
                    P::Line({-0.9, body * 0.5}, {-1.0, -body * 2.5}), P::Line({-1.0, -body * 2.5}, {-0.8, -body}),
                    P::Line({-0.8, -body}, {0.8, -body})}));
  const double wing = r.Uniform(0.5, 0.8);
  p.Stroke(P::Polyline({{0.25, 0}, {-0.1, wing}, {-0.3, wing}, {-0.1, 0}}));
  if (r.Chance(0.6))
    p.Stroke(P::Polyline({{0.25, -body}, {0.0, -wing * 0.6}, {-0.15, -wing * 0.6}, {-0.05, -body}}));
  if (r.Chance(0.5))
  {
    for (int i = 0; i < 4; ++i)
      p.Stroke(p.Loop({0.5 - 0.2 * i, -body * 0.3}, 0.04, 0.04));
  }
}

void Clock(Pencil& p)
{
  Random& r = p.Rng();
  p.Stroke(p.Loop({0, 0}, 1, 1));
  if (r.Chance(0.5))
  {
    for (int i = 0; i < 12; ++i)
    {
      const double a = 30.0 * i * Pi / 180.0;
      p.Stroke(P::Line(0.8 * QPointF(std::cos(a), std::sin(a)), 0.92 * QPointF(std::cos(a), std::sin(a))));
    }
  }
  const double hour = r.Uniform(0, 2 * Pi), minute = r.Uniform(0, 2 * Pi);
  p.Stroke(P::Polyline({0.45 * QPointF(std::cos(hour), std::sin(hour)), {0, 0}, 0.7 * QPointF(std::cos(minute), std::sin(minute))}));
  if (r.Chance(0.3))
  { // an alarm clock's bells and feet
    p.Stroke(P::Arc({-0.6, -0.9}, 0.3, 0.2, 180, 360, -30));
    p.Stroke(P::Arc({0.6, -0.9}, 0.3, 0.2, 180, 360, 30));
    p.Stroke(P::Line({-0.6, 0.8}, {-0.8, 1.1}));
    p.Stroke(P::Line({0.6, 0.8}, {0.8, 1.1}));
  }
}

void Chair(Pencil& p)
{
  Random& r = p.Rng();
  const double seat = r.Uniform(-0.1, 0.15), back = r.Uniform(0.5, 0.6), depth = r.Uniform(0.5, 0.7);
  p.Stroke(P::Polyline({{-depth, -1}, {-depth, seat}, {depth, seat}}));
  p.Stroke(P::Line({-depth, seat}, {-depth, 1}));
  p.Stroke(P::Line({depth, seat}, {depth, 1}));
  if (r.Chance(0.5))
    p.Stroke(P::Line({-depth, -back}, {-depth + 0.1, -back}));
  if (r.Chance(0.5))
    p.Stroke(P::Line({-depth, seat + 0.08}, {depth, seat + 0.08}));
}

void Lamp(Pencil& p)
{
  Random& r = p.Rng();
  const double top = r.Uniform(0.2, 0.35), bottom = r.Uniform(0.5, 0.7);
  p.Stroke(P::Closed(P::Polyline({{-top, -1}, {top, -1}, {bottom, -0.4}, {-bottom, -0.4}})));
  p.Stroke(P::Line({0, -0.4}, {0, 0.85}));
  p.Stroke(p.Loop({0, 0.9}, r.Uniform(0.3, 0.45), 0.1));
  if (r.Chance(0.4))
    p.Stroke(P::Line({0.1, -0.4}, {0.1, -0.2}));
}

void Hat(Pencil& p)
{
  Random& r = p.Rng();
  if (r.Chance(0.5))
  { // a top hat
    const double w = r.Uniform(0.45, 0.6);
    p.Stroke(P::Polyline({{-w, 0.6}, {-w, -0.9}, {w, -0.9}, {w, 0.6}}));
    p.Stroke(p.Loop({0, 0.65}, 1.0, 0.18));
    if (r.Chance(0.5))
      p.Stroke(P::Line({-w, 0.35}, {w, 0.35}));
  }
  else
  { // a brimmed hat
    p.Stroke(P::Arc({0, 0.2}, 0.55, 0.7, 180, 360));
    p.Stroke(p.Loop({0, 0.25}, 1.0, 0.2));
    if (r.Chance(0.5))
      p.Stroke(P::Line({-0.53, 0.05}, {0.53, 0.05}));
  }
}

void Shirt(Pencil& p)
{
  Random& r = p.Rng();
  const double sleeve = r.Uniform(0.25, 0.5), w = r.Uniform(0.5, 0.65);
  p.Stroke(P::Closed(P::Polyline({{-0.2, -0.9}, {-w, -0.8}, {-1, -0.8 + sleeve}, {-0.85, -0.8 + sleeve + 0.2}, {-w, -0.5},
                                  {-w, 0.9}, {w, 0.9}, {w, -0.5}, {0.85, -0.8 + sleeve + 0.2}, {1, -0.8 + sleeve}, {w, -0.8},
                                  {0.2, -0.9}})));
  p.Stroke(P::Arc({0, -0.9}, 0.2, 0.15, 0, 180));
  if (r.Chance(0.4))
  {
    for (int i = 0; i < 3; ++i)
      p.Stroke(p.Loop({0, -0.4 + 0.35 * i}, 0.04, 0.04));
  }
}

void Glasses(Pencil& p)
{
  Random& r = p.Rng();
  const double lens = r.Uniform(0.3, 0.4);
  const bool round = r.Chance(0.5);
  for (int side : {-1, 1})
  {
    const QPointF centre(side * (lens + 0.12), 0);
    if (round)
      p.Stroke(p.Loop(centre, lens, lens));
    else
      p.Stroke(P::Closed(P::Polyline({centre + QPointF(-lens, -lens * 0.7), centre + QPointF(lens, -lens * 0.7),
                                      centre + QPointF(lens * 0.8, lens * 0.7), centre + QPointF(-lens * 0.8, lens * 0.7)})));
    p.Stroke(P::Line(centre + QPointF(side * lens, -lens * 0.3), centre + QPointF(side * (lens + 0.35), -lens * 0.6)));
  }
  p.Stroke(P::Arc({0, -0.05}, 0.12, 0.08, 180, 360));
}

void Phone(Pencil& p)
{
  Random& r = p.Rng();
  const double w = r.Uniform(0.45, 0.6);
  p.Stroke(rectangle(-w, -1, w, 1));
  p.Stroke(rectangle(-w * 0.85, -0.8, w * 0.85, 0.7));
  p.Stroke(p.Loop({0, 0.85}, 0.07, 0.07));
  if (r.Chance(0.4))
    p.Stroke(P::Line({-0.15, -0.9}, {0.15, -0.9}));
}

void Book(Pencil& p)
{
  Random& r = p.Rng();
  if (r.Chance(0.5))
  { // open
    p.Stroke(P::Join({P::Curve({0, -0.6}, {-0.5, -0.85}, {-1, -0.6}), P::Line({-1, -0.6}, {-1, 0.6}),
                      P::Curve({-1, 0.6}, {-0.5, 0.35}, {0, 0.6})}));
    p.Stroke(P::Join({P::Curve({0, -0.6}, {0.5, -0.85}, {1, -0.6}), P::Line({1, -0.6}, {1, 0.6}),
                      P::Curve({1, 0.6}, {0.5, 0.35}, {0, 0.6})}));
    p.Stroke(P::Line({0, -0.6}, {0, 0.6}));
    const int lines = r.Between(0, 4);
    for (int i = 0; i < lines; ++i)
    {
      p.Stroke(P::Line({-0.8, -0.4 + 0.2 * i}, {-0.2, -0.4 + 0.2 * i}));
      p.Stroke(P::Line({0.2, -0.4 + 0.2 * i}, {0.8, -0.4 + 0.2 * i}));
    }
  }
  else
  {
    const double w = r.Uniform(0.6, 0.8);
    p.Stroke(rectangle(-w, -1, w, 1));
    p.Stroke(P::Line({-w + 0.15, -1}, {-w + 0.15, 1}));
    if (r.Chance(0.5))
      p.Stroke(rectangle(-w * 0.4, -0.6, w * 0.7, -0.2));
  }
}

void Bed(Pencil& p)
{
  Random& r = p.Rng();
  const double mattress = r.Uniform(-0.1, 0.1);
  p.Stroke(P::Polyline({{-1, 0.7}, {-1, -0.6}, {-0.9, -0.6}, {-0.9, 0.7}}));
  p.Stroke(rectangle(-0.9, mattress, 1, mattress + 0.3));
  p.Stroke(P::Line({1, mattress + 0.3}, {1, 0.7}));
  if (r.Chance(0.6))
    p.Stroke(p.Loop({-0.65, mattress - 0.1}, 0.2, 0.1));
  if (r.Chance(0.4))
    p.Stroke(P::Curve({-0.4, mattress}, {0.3, mattress - 0.3}, {1, mattress}));
}

void Bicycle(Pencil& p)
{
  Random& r = p.Rng();
  const double wheel = r.Uniform(0.4, 0.5);
  p.Stroke(p.Loop({-0.55, 0.3}, wheel, wheel));
  p.Stroke(p.Loop({0.55, 0.3}, wheel, wheel));
  p.Stroke(P::Polyline({{-0.55, 0.3}, {-0.1, 0.3}, {-0.25, -0.2}, {0.4, -0.2}, {-0.1, 0.3}}));
  p.Stroke(P::Line({0.55, 0.3}, {0.35, -0.4}));
  p.Stroke(P::Line({-0.55, 0.3}, {-0.25, -0.2}));
  p.Stroke(P::Line({-0.35, -0.3}, {-0.15, -0.3}));
  p.Stroke(P::Line({0.25, -0.45}, {0.45, -0.35}));
}

void Envelope(Pencil& p)
{
  Random& r = p.Rng();
  const double h = r.Uniform(0.55, 0.7);
  p.Stroke(rectangle(-1, -h, 1, h));
  p.Stroke(P::Polyline({{-1, -h}, {0, r.Uniform(0.0, 0.2)}, {1, -h}}));
  if (r.Chance(0.3))
  {
    p.Stroke(P::Line({-1, h}, {-0.25, -0.05}));
    p.Stroke(P::Line({1, h}, {0.25, -0.05}));
  }
}

void Mountain(Pencil& p)
{
  Random& r = p.Rng();
  const int peaks = r.Between(1, 3);
  QPolygonF ridge;
  ridge << QPointF(-1, 0.6);
  for (int i = 0; i < peaks; ++i)
  {
    const double x = -1 + (2.0 * i + 1) / peaks;
    ridge << QPointF(x, -r.Uniform(0.2, 0.6) - 0.2 * (i % 2 ? 0 : 1)) << QPointF(x + 1.0 / peaks, r.Uniform(0.0, 0.4));
  }
  ridge.last() = QPointF(1, 0.6);
  p.Stroke(ridge);
  if (r.Chance(0.5))
    p.Stroke(P::Line({-1, 0.6}, {1, 0.6}));
  if (r.Chance(0.4))
    p.Stroke(P::Zigzag(ridge[1] + QPointF(-0.15, 0.2), ridge[1] + QPointF(0.15, 0.2), 3, 0.08));
}

void Waves(Pencil& p)
{
  Random& r = p.Rng();
  const int lines = r.Between(2, 4);
  const double waves = r.Between(2, 5);
  for (int l = 0; l < lines; ++l)
  {
    QPolygonF line;
    for (int i = 0; i <= 40; ++i)
    {
      const double x = -1 + 2.0 * i / 40;
      line << QPointF(x, -0.5 + l * 0.4 + 0.12 * std::sin(waves * Pi * x + l));
    }
    p.Stroke(line);
  }
}

void Spiral(Pencil& p)
{
  Random& r = p.Rng();
  const double turns = r.Uniform(2.0, 4.0);
  QPolygonF spiral;
  for (int i = 0; i <= 100; ++i)
  {
    const double t = turns * 2 * Pi * i / 100;
    spiral << QPointF(std::cos(t), std::sin(t)) * (0.05 + 0.95 * i / 100);
  }
  p.Stroke(spiral);
}

void Truck(Pencil& p)
{
  Random& r = p.Rng();
  const double cab = r.Uniform(0.45, 0.7), bed = r.Uniform(-0.05, 0.15), bottom = r.Uniform(0.3, 0.4), wheel = r.Uniform(0.15, 0.22);
  p.Stroke(P::Polyline({{-1, bottom}, {-1, bed}, {cab - 0.5, bed}, {cab - 0.5, -0.45}, {cab - 0.05, -0.45}, {cab + 0.25, -0.05},
                        {1, 0.0}, {1, bottom}}));
  p.Stroke(P::Line({-1, bottom}, {1, bottom}));
  p.Stroke(p.Loop({-0.6, bottom}, wheel, wheel));
  p.Stroke(p.Loop({0.6, bottom}, wheel, wheel));
  if (r.Chance(0.6))
    p.Stroke(P::Closed(P::Polyline({{cab - 0.4, -0.35}, {cab - 0.08, -0.35}, {cab + 0.12, -0.08}, {cab - 0.4, -0.08}})));
}

void Bus(Pencil& p)
{
  Random& r = p.Rng();
  const double h = r.Uniform(0.35, 0.5), wheel = r.Uniform(0.12, 0.18);
  p.Stroke(rectangle(-1, -h, 1, h * 0.7));
  const int windows = r.Between(3, 6);
  for (int i = 0; i < windows; ++i)
  {
    const double x = -0.9 + 1.6 * i / windows;
    p.Stroke(rectangle(x, -h * 0.75, x + 1.6 / windows * 0.7, -h * 0.1));
  }
  p.Stroke(p.Loop({-0.6, h * 0.7}, wheel, wheel));
  p.Stroke(p.Loop({0.6, h * 0.7}, wheel, wheel));
}

void Train(Pencil& p)
{
  Random& r = p.Rng();
  const int cars = r.Between(1, 3);
  const double w = 2.0 / (cars + 1);
  p.Stroke(P::Polyline({{-1, 0.3}, {-1, -0.5}, {-1 + w * 0.5, -0.5}, {-1 + w * 0.5, -0.2}, {-1 + w, -0.2}, {-1 + w, 0.3}, {-1, 0.3}}));
  p.Stroke(rectangle(-1 + w * 0.7, -0.45, -1 + w * 0.85, -0.2));
  for (int c = 1; c <= cars; ++c)
  {
    const double x = -1 + w * c + 0.05;
    p.Stroke(rectangle(x, -0.3, x + w - 0.1, 0.3));
    p.Stroke(P::Line({x - 0.05, 0.1}, {x, 0.1}));
  }
  for (int i = 0; i <= cars; ++i)
  {
    p.Stroke(p.Loop({-1 + w * i + w * 0.3, 0.38}, 0.08, 0.08));
    p.Stroke(p.Loop({-1 + w * i + w * 0.7, 0.38}, 0.08, 0.08));
  }
}

void Animal(Pencil& p)
{
  Random& r = p.Rng();
  const double body = r.Uniform(0.25, 0.4), legs = r.Uniform(0.25, 0.5), neck = r.Uniform(0.0, 0.35);
  p.Stroke(p.Loop({0, 0}, 0.65, body));
  const QPointF head(0.8, -body - neck);
  p.Stroke(p.Loop(head, 0.22, 0.17));
  p.Stroke(P::Line({0.55, -body * 0.5}, head + QPointF(-0.12, 0.1)));
  for (double x : {-0.45, -0.25, 0.25, 0.45})
    p.Stroke(P::Line({x, body * 0.8}, {x + r.Uniform(-0.05, 0.05), body + legs}));
  p.Stroke(P::Curve({-0.65, -0.05}, {-0.95, -0.1}, {-1.0, 0.2 * r.Sign()}));
  if (r.Chance(0.5))
    p.Stroke(P::Polyline({head + QPointF(-0.1, -0.14), head + QPointF(-0.05, -0.3), head + QPointF(0.02, -0.15)}));
}

void Duck(Pencil& p)
{
  Random& r = p.Rng();
  p.Stroke(P::Join({P::Curve({-1, -0.2}, {-0.6, 0.5}, {0.3, 0.35}), P::Curve({0.3, 0.35}, {0.75, 0.2}, {0.6, -0.1}),
                    P::Line({0.6, -0.1}, {0.2, -0.1}), P::Curve({0.2, -0.1}, {-0.3, -0.2}, {-1, -0.2})}));
  const double neck = r.Uniform(0.2, 0.6);
  p.Stroke(P::Curve({0.45, -0.1}, {0.35, -0.1 - neck}, {0.55, -0.2 - neck}));
  p.Stroke(p.Loop({0.6, -0.25 - neck}, 0.14, 0.12));
  p.Stroke(P::Polyline({{0.72, -0.3 - neck}, {0.95, -0.22 - neck}, {0.72, -0.18 - neck}}));
  p.Stroke(P::Curve({-0.6, 0.0}, {-0.2, 0.25}, {0.2, 0.05}));
  if (r.Chance(0.5))
    p.Stroke(P::Zigzag({-1.1, 0.5}, {1.0, 0.5}, 5, 0.08));
}
void Flute(Pencil& p)
{
  // A long thin tube (flute, clarinet, pipe, bat) lying along x, mouthpiece at -x.
  Random& r = p.Rng();
  const double half = r.Uniform(0.05, 0.12);
  const double bell = r.Chance(0.5) ? half * r.Uniform(1.6, 3.0) : half;
  const double bellFrom = bell > half ? r.Uniform(0.55, 0.8) : 1.0;
  const double mouth = r.Uniform(-0.9, -0.75);
  QPolygonF outline = P::Polyline({{1.0, -bell}, {bellFrom, -half}, {mouth, -half}});
  if (r.Chance(0.5)) // a tapered mouthpiece
    outline = P::Join({outline, P::Polyline({{mouth, -half}, {-1.0, -half * 0.4}, {-1.0, half * 0.4}, {mouth, half}})});
  else
    outline = P::Join({outline, P::Polyline({{mouth, -half}, {mouth, half}})});
  outline = P::Join({outline, P::Polyline({{mouth, half}, {bellFrom, half}, {1.0, bell}})});
  if (r.Chance(0.6))
    outline << QPointF(1.0, -bell);
  p.Stroke(outline);
  const int holes = r.Chance(0.8) ? r.Between(3, 8) : 0;
  const double from = r.Uniform(-0.5, -0.2), step = r.Uniform(0.1, 0.16);
  for (int i = 0; i < holes; ++i)
  {
    const QPointF at(from + i * step, r.Uniform(-0.2, 0.2) * half);
    if (r.Chance(0.6))
      p.Stroke(p.Loop(at, half * 0.35, half * 0.35));
    else
      p.Stroke(P::Line(at, at + QPointF(0.02, 0.02)));
  }
}

void Boomerang(Pencil& p)
{
  // A bent wide band: two arms meeting at a rounded elbow on top.
  Random& r = p.Rng();
  const double spread = r.Uniform(0.35, 1.0); // how far the arms drop
  const double width = r.Uniform(0.15, 0.3);
  const double lean = r.Uniform(-0.2, 0.2);
  const QPointF left(-1.0, spread), right(1.0, spread * r.Uniform(0.7, 1.0)), elbow(lean, -spread * 0.5);
  const QPointF drop(0, width);
  p.Stroke(P::Join({P::Curve(left, elbow, right), P::Curve(right, right + drop * 0.5 + QPointF(-0.05, 0), right + drop),
                    P::Curve(right + drop, elbow + drop * 2.5, left + drop), P::Curve(left + drop, left + drop * 0.5 + QPointF(-0.05, 0), left)}));
}

void Windmill(Pencil& p)
{
  // A tower and four sails crossing at its top.
  Random& r = p.Rng();
  const double top = r.Uniform(-0.15, 0.1), base = 1.0, towerTop = r.Uniform(0.1, 0.2), towerBase = r.Uniform(0.25, 0.45);
  p.Stroke(P::Polyline({{-towerTop, top}, {-towerBase, base}, {towerBase, base}, {towerTop, top}}));
  if (r.Chance(0.5))
    p.Stroke(P::Polyline({{-towerTop, top}, {0, top - 0.15}, {towerTop, top}}));
  const QPointF hub(0, top - 0.05);
  const double sail = r.Uniform(0.6, 0.9), sailWidth = r.Uniform(0.08, 0.2), start = r.Uniform(20, 70);
  for (int i = 0; i < 4; ++i)
  {
    const double a = (start + 90.0 * i) * Pi / 180.0;
    const QPointF d(std::cos(a), std::sin(a)), n(-d.y(), d.x());
    if (r.Chance(0.4))
      p.Stroke(P::Line(hub, hub + d * sail));
    else
      p.Stroke(P::Polyline({hub, hub + d * sail, hub + d * sail + n * sailWidth, hub + d * 0.15 + n * sailWidth}));
  }
  if (r.Chance(0.5))
    p.Stroke(p.Loop(hub, 0.05, 0.05));
}
} // namespace drawings
