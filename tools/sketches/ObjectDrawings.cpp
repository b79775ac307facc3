#include "Drawings.h"
#include "Pencil.h"
#include "Random.h"

#include <algorithm>
#include <cmath>

// Pointing objects lie along x from about -1 (grip) to 1 (tip), their upper side
// towards -y. Sizes are fractions of that length.
namespace drawings
{
namespace
{
using P = Pencil;

/// A rectangle as one stroke, or as two to four when the hand lifts.
void box(Pencil& pencil, double left, double top, double right, double bottom)
{
  const QPointF a(left, top), b(right, top), c(right, bottom), d(left, bottom);
  if (pencil.Rng().Chance(0.7))
    pencil.Stroke(P::Polyline({a, b, c, d, a}));
  else
  {
    pencil.Stroke(P::Polyline({a, b, c}));
    pencil.Stroke(P::Polyline({c, d, a}));
  }
}

/// A long thin part (handle, shaft, barrel) as one line or as an outline.
void shaft(Pencil& pencil, double from, double to, double y, double halfWidth, double singleLineChance)
{
  if (pencil.Rng().Chance(singleLineChance))
  {
    pencil.Stroke(P::Line({from, y}, {to, y}));
    return;
  }
  if (pencil.Rng().Chance(0.5))
    pencil.Stroke(P::Polyline({{to, y - halfWidth}, {from, y - halfWidth}, {from, y + halfWidth}, {to, y + halfWidth}}));
  else
  {
    pencil.Stroke(P::Line({from, y - halfWidth}, {to, y - halfWidth}));
    pencil.Stroke(P::Line({from, y + halfWidth}, {to, y + halfWidth}));
  }
}

void dot(Pencil& pencil, QPointF at, double radius)
{
  if (pencil.Rng().Chance(0.5))
    pencil.Stroke(P::Line(at, at + QPointF(radius * 0.3, radius * 0.3)));
  else
    pencil.Stroke(pencil.Loop(at, radius, radius));
}

/// A crossguard or a pommel end: a bar across the axis at \a x.
void crossbar(Pencil& pencil, double x, double halfHeight, double halfThickness)
{
  Random& r = pencil.Rng();
  const double style = r.Uniform(0, 1);
  if (style < 0.45)
    box(pencil, x - halfThickness, -halfHeight, x + halfThickness, halfHeight);
  else if (style < 0.75)
    pencil.Stroke(P::Line({x, -halfHeight}, {x, halfHeight}));
  else
  {
    const double bend = halfHeight * r.Uniform(0.2, 0.5);
    pencil.Stroke(P::Curve({x + bend, -halfHeight}, {x - bend, 0}, {x + bend, halfHeight}));
  }
}
} // namespace

void Spear(Pencil& p)
{
  Random& r = p.Rng();
  const double headLength = r.Uniform(0.12, 0.28);
  const double headWidth = r.Uniform(0.06, 0.12);
  const double headStart = 1.0 - headLength;
  shaft(p, -1.0, headStart, 0, r.Uniform(0.01, 0.025), 0.5);
  if (r.Chance(0.6))
    p.Stroke(P::Closed(P::Polyline({{headStart, -headWidth}, {1, 0}, {headStart, headWidth}})));
  else // leaf-shaped
    p.Stroke(P::Join({P::Curve({headStart, 0}, {headStart + headLength * 0.3, -headWidth * 2}, {1, 0}),
                      P::Curve({1, 0}, {headStart + headLength * 0.3, headWidth * 2}, {headStart, 0})}));
  if (r.Chance(0.3))
    p.Stroke(P::Line({headStart - 0.03, -headWidth * 0.8}, {headStart - 0.03, headWidth * 0.8}));
  if (r.Chance(0.2))
    p.Stroke(P::Polyline({{headStart - 0.02, 0}, {headStart - 0.12, headWidth * 1.5}}));
}

void Axe(Pencil& p)
{
  Random& r = p.Rng();
  const double handleWidth = r.Uniform(0.04, 0.09);
  const double headFrom = r.Uniform(0.1, 0.5);
  const double headTo = r.Uniform(0.85, 1.0);
  const double reach = r.Uniform(0.4, 0.85);
  const double spread = r.Uniform(0.0, 0.25);
  shaft(p, -1.0, 1.0, 0, handleWidth, 0.3);
  // The blade on the upper side, its cutting edge a bulging arc.
  auto blade = [&](double side) {
    const QPointF rootA(headFrom, -side * handleWidth), rootB(headTo, -side * handleWidth);
    const QPointF edgeA(headFrom - spread, -side * reach), edgeB(headTo + spread * 0.6, -side * reach);
    const QPointF middle((edgeA.x() + edgeB.x()) / 2, -side * reach * r.Uniform(1.0, 1.25));
    const double waist = r.Uniform(0.0, 0.15);
    p.Stroke(P::Join({P::Curve(rootA, {headFrom + waist, -side * reach * 0.5}, edgeA), P::Curve(edgeA, middle, edgeB),
                      P::Curve(edgeB, {headTo - waist, -side * reach * 0.5}, rootB)}));
  };
  blade(1.0);
  const double back = r.Uniform(0, 1);
  if (back < 0.15)
    blade(-1.0); // double-bitted
  else if (back < 0.4)
    box(p, headFrom + 0.05, handleWidth, headTo - 0.05, handleWidth + r.Uniform(0.05, 0.15));
}

void Pollaxe(Pencil& p)
{
  Random& r = p.Rng();
  const double shaftWidth = r.Uniform(0.015, 0.035);
  const double headAt = r.Uniform(0.6, 0.75);
  shaft(p, -1.0, headAt + 0.1, 0, shaftWidth, 0.45);
  // Top spike.
  const double spikeWidth = r.Uniform(0.02, 0.05);
  p.Stroke(P::Polyline({{headAt + 0.1, -spikeWidth}, {1.0, 0}, {headAt + 0.1, spikeWidth}}));
  // Axe blade on one side.
  const double reach = r.Uniform(0.18, 0.35);
  const double from = headAt - r.Uniform(0.08, 0.15), to = headAt + r.Uniform(0.05, 0.1);
  p.Stroke(P::Join({P::Line({from + 0.04, -shaftWidth}, {from - 0.03, -reach}),
                    P::Curve({from - 0.03, -reach}, {(from + to) / 2, -reach * 1.25}, {to + 0.03, -reach}),
                    P::Line({to + 0.03, -reach}, {to - 0.02, -shaftWidth})}));
  // A hook or a hammer on the other.
  if (r.Chance(0.6))
    p.Stroke(P::Curve({headAt - 0.03, shaftWidth}, {headAt, reach * 0.8}, {headAt + 0.1, reach * 0.7}));
  else
    box(p, headAt - 0.05, shaftWidth, headAt + 0.02, reach * 0.5);
  if (r.Chance(0.4))
    crossbar(p, headAt - 0.18, r.Uniform(0.04, 0.08), 0.015);
}

void Sword(Pencil& p)
{
  Random& r = p.Rng();
  const double pommel = r.Chance(0.5) ? r.Uniform(0.035, 0.07) : 0.0;
  const double guardX = -1.0 + 2 * pommel + r.Uniform(0.22, 0.42);
  const double bladeWidth = r.Uniform(0.045, 0.11);
  const double guardHeight = r.Uniform(0.18, 0.4);
  const double guardThickness = r.Uniform(0.025, 0.06);
  const double handleWidth = r.Uniform(0.025, 0.055);
  const double tip = r.Uniform(0.08, 0.3);
  const double bladeFrom = guardX + guardThickness;

  if (r.Chance(0.08))
    p.Stroke(P::Line({bladeFrom, 0}, {1, 0}));
  else if (r.Chance(0.25)) // tapering all the way
    p.Stroke(P::Polyline({{bladeFrom, -bladeWidth}, {1, 0}, {bladeFrom, bladeWidth}}));
  else if (r.Chance(0.6))
    p.Stroke(P::Polyline({{bladeFrom, -bladeWidth}, {1 - tip, -bladeWidth}, {1, 0}, {1 - tip, bladeWidth}, {bladeFrom, bladeWidth}}));
  else
  {
    p.Stroke(P::Polyline({{bladeFrom, -bladeWidth}, {1 - tip, -bladeWidth}, {1, 0}}));
    p.Stroke(P::Polyline({{bladeFrom, bladeWidth}, {1 - tip, bladeWidth}, {1, 0}}));
  }
  if (r.Chance(0.3))
    p.Stroke(P::Line({bladeFrom + 0.05, 0}, {1 - tip - 0.05, 0}));
  crossbar(p, guardX, guardHeight, guardThickness);
  const double handleEnd = -1.0 + 2 * pommel;
  if (r.Chance(0.25))
    p.Stroke(P::Line({guardX - guardThickness, 0}, {handleEnd, 0}));
  else
    p.Stroke(P::Polyline({{guardX - guardThickness, -handleWidth}, {handleEnd, -handleWidth},
                          {handleEnd, handleWidth}, {guardX - guardThickness, handleWidth}}));
  if (pommel > 0)
    p.Stroke(p.Loop({-1.0 + pommel, 0}, pommel, pommel));
}

void Sabre(Pencil& p)
{
  Random& r = p.Rng();
  const double guardX = -1.0 + r.Uniform(0.25, 0.4);
  const double bend = r.Uniform(0.1, 0.3); // how far the tip rises above the axis
  const double width = r.Uniform(0.05, 0.1);
  auto back = [&](double x) { return -bend * std::pow((x - guardX) / (1 - guardX), 2); };
  QPolygonF upper, lower;
  for (int i = 0; i <= 12; ++i)
  {
    const double x = guardX + (1 - guardX) * i / 12.0;
    const double taper = i < 10 ? 1.0 : (12 - i) / 2.0;
    upper << QPointF(x, back(x) - width * 0.5 * std::min(1.0, taper + 0.3));
    lower << QPointF(x, back(x) + width * taper);
  }
  upper.last() = lower.last();
  if (r.Chance(0.6))
  {
    std::reverse(lower.begin(), lower.end());
    p.Stroke(P::Join({upper, lower}));
  }
  else
  {
    p.Stroke(upper);
    p.Stroke(lower);
  }
  const double guardHeight = r.Uniform(0.08, 0.18);
  crossbar(p, guardX, guardHeight, r.Uniform(0.015, 0.03));
  const double handleWidth = r.Uniform(0.025, 0.045);
  const double handleDrop = r.Uniform(0.0, 0.08); // grips curve down a little
  p.Stroke(P::Curve({guardX, -handleWidth}, {(guardX - 1) / 2, -handleWidth + handleDrop * 0.3}, {-1, -handleWidth + handleDrop}));
  p.Stroke(P::Curve({guardX, handleWidth}, {(guardX - 1) / 2, handleWidth + handleDrop * 0.3}, {-1, handleWidth + handleDrop}));
  if (r.Chance(0.5)) // knuckle bow
    p.Stroke(P::Curve({guardX, guardHeight}, {(guardX - 1) / 2, guardHeight * 2.2}, {-1, handleWidth + handleDrop}));
}

void Pistol(Pencil& p)
{
  Random& r = p.Rng();
  const double top = -r.Uniform(0.3, 0.45);
  const double bottom = r.Uniform(-0.08, 0.02);
  const double rear = -r.Uniform(0.7, 0.95);
  const double gripBack = rear + r.Uniform(-0.1, 0.08);
  const double gripFront = rear + r.Uniform(0.3, 0.45);
  const double gripBottom = r.Uniform(0.7, 1.0);
  const double slant = r.Uniform(0.05, 0.3);
  const bool revolver = r.Chance(0.2);
  if (r.Chance(0.55))
  { // outline in one go
    p.Stroke(P::Polyline({{gripFront, bottom}, {1, bottom}, {1, top}, {rear, top}, {gripBack, bottom},
                          {gripBack - slant, gripBottom}, {gripFront - slant, gripBottom}, {gripFront, bottom}}));
  }
  else
  {
    box(p, rear, top, 1, bottom);
    p.Stroke(P::Polyline({{gripBack + 0.02, bottom}, {gripBack - slant, gripBottom}, {gripFront - slant, gripBottom},
                          {gripFront, bottom}}));
  }
  // Trigger guard and trigger.
  const double guardTo = gripFront + r.Uniform(0.2, 0.35);
  p.Stroke(P::Curve({gripFront - 0.03, bottom + 0.2}, {guardTo + 0.05, bottom + 0.35}, {guardTo, bottom}));
  if (r.Chance(0.6))
    p.Stroke(P::Curve({gripFront + 0.1, bottom}, {gripFront + 0.15, bottom + 0.1}, {gripFront + 0.08, bottom + 0.18}));
  if (revolver)
    p.Stroke(p.Loop({rear + 0.55, (top + bottom) / 2}, 0.17, 0.17));
  if (r.Chance(0.4))
    p.Stroke(P::Polyline({{0.85, top}, {0.87, top - 0.07}, {0.93, top - 0.07}, {0.95, top}}));
  if (r.Chance(0.3))
    p.Stroke(P::Line({0.0, top + (bottom - top) * 0.45}, {0.95, top + (bottom - top) * 0.45}));
}

void SubmachineGun(Pencil& p)
{
  Random& r = p.Rng();
  const double top = -r.Uniform(0.12, 0.2);
  const double bottom = r.Uniform(0.02, 0.1);
  const double bodyFront = r.Uniform(0.35, 0.6);
  const double bodyRear = -r.Uniform(0.35, 0.6);
  box(p, bodyRear, top, bodyFront, bottom);
  shaft(p, bodyFront, 1.0, (top + bottom) / 2 - 0.02, r.Uniform(0.02, 0.04), 0.3);
  // Magazine straight down in front of the grip.
  const double magazineAt = r.Uniform(-0.05, 0.2);
  const double magazineWidth = r.Uniform(0.07, 0.12);
  const double magazineLength = r.Uniform(0.4, 0.75);
  const double lean = r.Uniform(-0.05, 0.1);
  p.Stroke(P::Polyline({{magazineAt, bottom}, {magazineAt + lean, bottom + magazineLength},
                        {magazineAt + magazineWidth + lean, bottom + magazineLength}, {magazineAt + magazineWidth, bottom}}));
  // Pistol grip.
  const double gripAt = bodyRear + r.Uniform(0.1, 0.25);
  const double gripLength = r.Uniform(0.3, 0.45);
  p.Stroke(P::Polyline({{gripAt, bottom}, {gripAt - 0.1, bottom + gripLength}, {gripAt + 0.03, bottom + gripLength},
                        {gripAt + 0.13, bottom}}));
  if (r.Chance(0.7))
    p.Stroke(P::Curve({gripAt + 0.13, bottom + 0.12}, {gripAt + 0.3, bottom + 0.2}, {magazineAt, bottom + 0.04}));
  const double stock = r.Uniform(0, 1);
  if (stock < 0.4) // wire stock
    p.Stroke(P::Polyline({{bodyRear, top + 0.03}, {-1, top + 0.05}, {-1, bottom + 0.15}, {bodyRear, bottom}}));
  else if (stock < 0.75)
    box(p, -1, top + 0.02, bodyRear, bottom + r.Uniform(0.05, 0.15));
  if (r.Chance(0.4))
    p.Stroke(P::Polyline({{bodyFront - 0.1, top}, {bodyFront - 0.1, top - 0.06}, {bodyFront - 0.04, top - 0.06}}));
}

/// A rifle in a few seconds: the long line of barrel and body, the stock dropping
/// at the rear end, perhaps a grip or a magazine hanging below.
void QuickRifle(Pencil& p)
{
  Random& r = p.Rng();
  const double drop = r.Uniform(0.08, 0.3);
  const double stockFrom = -r.Uniform(0.55, 0.85);
  const double step = r.Chance(0.4) ? r.Uniform(0.02, 0.06) : 0.0; // the body a little lower than the barrel
  const double bodyFrom = r.Uniform(0.0, 0.4);
  QPolygonF top = P::Polyline({{1, 0}, {bodyFrom, 0}, {bodyFrom - 0.03, step}, {stockFrom, step}});
  const double stock = r.Uniform(0, 1);
  if (stock < 0.4) // a butt: down and back under the line
    top << QPointF(-1, step + drop * 0.3) << QPointF(-1, step + drop) << QPointF(stockFrom + 0.1, step + drop * 0.4);
  else if (stock < 0.75) // just the end bent down
    top << QPointF(-1, step + drop);
  else // a hook
    top = P::Join({top, P::Curve({stockFrom, step}, {-1, step}, {-1 + 0.05, step + drop})});
  if (r.Chance(0.3))
  { // the lower edge too: a thin outline
    const double thickness = r.Uniform(0.03, 0.07);
    top.prepend(QPointF(1, thickness));
    top.prepend(QPointF(bodyFrom, thickness + step));
  }
  p.Stroke(top);
  if (r.Chance(0.5))
  {
    const double gripAt = r.Uniform(-0.5, -0.1);
    p.Stroke(P::Line({gripAt, step}, {gripAt - r.Uniform(0.0, 0.06), step + r.Uniform(0.12, 0.25)}));
  }
  if (r.Chance(0.3))
  {
    const double magazineAt = r.Uniform(-0.1, 0.25);
    p.Stroke(P::Polyline({{magazineAt, step}, {magazineAt + 0.04, step + r.Uniform(0.12, 0.25)}, {magazineAt + 0.1, step + 0.15}, {magazineAt + 0.09, step}}));
  }
}

void AssaultRifle(Pencil& p)
{
  Random& r = p.Rng();
  if (r.Chance(0.3))
  {
    QuickRifle(p);
    return;
  }
  const double top = -r.Uniform(0.05, 0.1);
  const double bottom = r.Uniform(0.02, 0.06);
  const double bodyRear = -r.Uniform(0.4, 0.6);
  const double bodyFront = r.Uniform(0.0, 0.3);
  const double muzzle = r.Chance(0.5) ? 1.0 : r.Uniform(0.6, 0.9);
  const double stockDrop = r.Uniform(0.05, 0.25);
  // Stock, body and barrel, often as one outline.
  if (r.Chance(0.55))
    p.Stroke(P::Polyline({{muzzle, top + 0.02}, {bodyRear, top}, {-1, top + 0.02}, {-1, bottom + stockDrop}, {bodyRear, bottom},
                          {muzzle, bottom - 0.02}, {muzzle, top + 0.02}}));
  else
  {
    p.Stroke(P::Closed(P::Polyline({{bodyRear, top + 0.01}, {-1, top + 0.03}, {-1, bottom + stockDrop}, {bodyRear, bottom}})));
    box(p, bodyRear, top, bodyFront, bottom);
    box(p, bodyFront, top + 0.02, muzzle, bottom - 0.02);
  }
  if (muzzle < 1.0)
    p.Stroke(P::Line({muzzle, (top + bottom) / 2}, {1.0, (top + bottom) / 2}));
  if (r.Chance(0.55))
  { // curved magazine
    const double magazineAt = bodyFront - r.Uniform(0.1, 0.25);
    const double magazineLength = r.Uniform(0.15, 0.4);
    const double curve = r.Uniform(0.0, 0.15);
    const double magazineWidth = r.Uniform(0.05, 0.09);
    p.Stroke(P::Join({P::Curve({magazineAt, bottom}, {magazineAt + curve * 0.3, bottom + magazineLength * 0.6},
                               {magazineAt + curve, bottom + magazineLength}),
                      P::Line({magazineAt + curve, bottom + magazineLength}, {magazineAt + curve + magazineWidth, bottom + magazineLength * 0.95}),
                      P::Curve({magazineAt + curve + magazineWidth, bottom + magazineLength * 0.95},
                               {magazineAt + magazineWidth + curve * 0.3, bottom + magazineLength * 0.55},
                               {magazineAt + magazineWidth, bottom})}));
  }
  if (r.Chance(0.45))
  { // grip and trigger guard
    const double gripAt = bodyRear + r.Uniform(0.05, 0.2);
    const double grip = r.Uniform(0.12, 0.25);
    p.Stroke(P::Polyline({{gripAt, bottom}, {gripAt - 0.06, bottom + grip}, {gripAt + 0.02, bottom + grip}, {gripAt + 0.08, bottom}}));
    if (r.Chance(0.5))
      p.Stroke(P::Curve({gripAt + 0.08, bottom + 0.06}, {gripAt + 0.16, bottom + 0.1}, {gripAt + 0.22, bottom}));
  }
  const double extra = r.Uniform(0, 1);
  if (extra < 0.3) // scope
  {
    const double scopeY = top - r.Uniform(0.06, 0.1);
    p.Stroke(p.Loop({(bodyRear + bodyFront) / 2, scopeY}, (bodyFront - bodyRear) * 0.3, 0.04));
    p.Stroke(P::Line({(bodyRear + bodyFront) / 2, scopeY + 0.04}, {(bodyRear + bodyFront) / 2, top}));
  }
  else if (extra < 0.5) // carry handle or sights
    p.Stroke(P::Polyline({{bodyRear + 0.1, top}, {bodyRear + 0.12, top - 0.08}, {bodyFront - 0.05, top - 0.08}, {bodyFront - 0.03, top}}));
  if (r.Chance(0.4))
    p.Stroke(P::Polyline({{0.9, (top + bottom) / 2}, {0.9, top - 0.05}}));
}

void Teddybear(Pencil& p)
{
  Random& r = p.Rng();
  const bool headOnly = r.Chance(0.15);
  const double headRadius = r.Uniform(0.3, 0.42);
  const QPointF head(0, headOnly ? 0 : -0.55);
  p.Stroke(p.Loop(head, headRadius, headRadius * r.Uniform(0.85, 1.0)));
  const double earRadius = headRadius * r.Uniform(0.28, 0.45);
  for (int side : {-1, 1})
  {
    const QPointF ear = head + QPointF(side * headRadius * 0.75, -headRadius * 0.75);
    if (r.Chance(0.6))
      p.Stroke(P::Arc(ear, earRadius, earRadius, side > 0 ? 130 : 50, side > 0 ? 130 - 270 : 50 + 270));
    else
      p.Stroke(p.Loop(ear, earRadius, earRadius));
    if (r.Chance(0.4))
      p.Stroke(p.Loop(ear, earRadius * 0.5, earRadius * 0.5));
  }
  const double eye = headRadius * 0.35;
  dot(p, head + QPointF(-eye, -eye * 0.4), headRadius * 0.08);
  dot(p, head + QPointF(eye, -eye * 0.4), headRadius * 0.08);
  if (r.Chance(0.7))
    p.Stroke(p.Loop(head + QPointF(0, headRadius * 0.35), headRadius * 0.35, headRadius * 0.25));
  dot(p, head + QPointF(0, headRadius * 0.25), headRadius * 0.08);
  if (r.Chance(0.6))
    p.Stroke(P::Arc(head + QPointF(0, headRadius * 0.4), headRadius * 0.18, headRadius * 0.15, 20, 160));
  if (headOnly)
    return;
  const QPointF body(0, r.Uniform(0.1, 0.2));
  const double bodyRx = r.Uniform(0.28, 0.4), bodyRy = r.Uniform(0.35, 0.45);
  p.Stroke(p.Loop(body, bodyRx, bodyRy));
  if (r.Chance(0.4))
    p.Stroke(p.Loop(body + QPointF(0, bodyRy * 0.15), bodyRx * 0.55, bodyRy * 0.5));
  const double armTilt = r.Uniform(20, 60);
  for (int side : {-1, 1})
  {
    p.Stroke(p.Loop(body + QPointF(side * bodyRx * 1.05, -bodyRy * 0.3), 0.1, 0.22, side * armTilt));
    p.Stroke(p.Loop(body + QPointF(side * bodyRx * 0.6, bodyRy * 0.95), r.Uniform(0.11, 0.15), r.Uniform(0.13, 0.2)));
  }
}

void Flower(Pencil& p)
{
  Random& r = p.Rng();
  const double style = r.Uniform(0, 1);
  const QPointF centre(0, -0.45);
  double headBottom;
  if (style < 0.2)
  { // tulip
    const double w = r.Uniform(0.2, 0.3), h = r.Uniform(0.3, 0.4);
    p.Stroke(P::Polyline({{-w, centre.y() - h * 0.5}, {-w * 0.4, centre.y() - h * 0.2}, {0, centre.y() - h * 0.6},
                          {w * 0.4, centre.y() - h * 0.2}, {w, centre.y() - h * 0.5}}));
    p.Stroke(P::Join({P::Curve({-w, centre.y() - h * 0.5}, {-w, centre.y() + h * 0.5}, {0, centre.y() + h * 0.5}),
                      P::Curve({0, centre.y() + h * 0.5}, {w, centre.y() + h * 0.5}, {w, centre.y() - h * 0.5})}));
    headBottom = centre.y() + h * 0.5;
  }
  else
  {
    const double core = r.Uniform(0.1, 0.2);
    const int petals = r.Between(5, 9);
    const double petalLength = r.Uniform(0.2, 0.4);
    p.Stroke(p.Loop(centre, core, core));
    if (style < 0.55)
    { // separate petals
      for (int i = 0; i < petals; ++i)
      {
        const double angle = 360.0 * i / petals + r.Uniform(-8, 8);
        const double a = angle * Pi / 180.0;
        const QPointF at = centre + (core + petalLength * 0.5) * QPointF(std::cos(a), std::sin(a));
        p.Stroke(P::Arc(at, petalLength * 0.55, petalLength * r.Uniform(0.25, 0.4), angle + 180 + 30, angle + 180 + 330, angle));
      }
    }
    else // one scalloped line around the core
      p.Stroke(p.Bumps(centre, core + petalLength * 0.4, core + petalLength * 0.4, petals, r.Uniform(0.6, 1.0)));
    headBottom = centre.y() + core + petalLength * (style < 0.55 ? 0.0 : 0.4);
  }
  const double stemEnd = r.Uniform(0.5, 1.1);
  const double sway = r.Uniform(-0.1, 0.1);
  if (r.Chance(0.75))
    p.Stroke(P::Curve({0, headBottom}, {sway, (headBottom + stemEnd) / 2}, {sway * 0.5, stemEnd}));
  else
  {
    p.Stroke(P::Curve({-0.02, headBottom}, {sway - 0.02, (headBottom + stemEnd) / 2}, {sway * 0.5 - 0.02, stemEnd}));
    p.Stroke(P::Curve({0.02, headBottom}, {sway + 0.02, (headBottom + stemEnd) / 2}, {sway * 0.5 + 0.02, stemEnd}));
  }
  const int leaves = r.Between(0, 2);
  for (int i = 0; i < leaves; ++i)
  {
    const int side = (i == 0) ? r.Sign() : 1;
    const double y = headBottom + (stemEnd - headBottom) * r.Uniform(0.35, 0.75);
    const QPointF base(sway * 0.5, y), tip(side * r.Uniform(0.15, 0.3), y - r.Uniform(0.05, 0.2));
    const QPointF middle = (base + tip) / 2;
    const QPointF normal(-(tip - base).y() * 0.35, (tip - base).x() * 0.35);
    p.Stroke(P::Join({P::Curve(base, middle + normal, tip), P::Curve(tip, middle - normal, base)}));
  }
  if (r.Chance(0.1))
    p.Stroke(P::Closed(P::Polyline({{-0.2, stemEnd}, {0.2, stemEnd}, {0.15, stemEnd + 0.25}, {-0.15, stemEnd + 0.25}})));
}

void Mushroom(Pencil& p)
{
  Random& r = p.Rng();
  const double capWidth = r.Uniform(0.5, 0.8);
  const double capHeight = r.Uniform(0.35, 0.85);
  const double rim = r.Uniform(-0.05, 0.1);
  const double stemWidth = capWidth * r.Uniform(0.22, 0.45);
  const double stemBottom = rim + r.Uniform(0.5, 1.0);
  const double flare = r.Uniform(1.0, 1.3);
  if (r.Chance(0.35))
  { // one line: up the stem, out under the cap, over it and back down the other side
    p.Stroke(P::Join({P::Line({-stemWidth * flare, stemBottom}, {-stemWidth, rim}), P::Line({-stemWidth, rim}, {-capWidth, rim}),
                      P::Arc({0, rim}, capWidth, capHeight, 180, 360), P::Line({capWidth, rim}, {stemWidth, rim}),
                      P::Line({stemWidth, rim}, {stemWidth * flare, stemBottom}),
                      r.Chance(0.6) ? P::Line({stemWidth * flare, stemBottom}, {-stemWidth * flare, stemBottom}) : QPolygonF()}));
    return;
  }
  QPolygonF cap = P::Arc({0, rim}, capWidth, capHeight, 180, 360);
  const double underside = r.Uniform(0, 1);
  if (underside < 0.5)
    cap = P::Join({cap, P::Line({capWidth, rim}, {-capWidth, rim})});
  else if (underside < 0.9)
    cap = P::Join({cap, P::Curve({capWidth, rim}, {0, rim + r.Uniform(0.1, 0.25)}, {-capWidth, rim})});
  p.Stroke(cap);
  p.Stroke(P::Join({P::Line({-stemWidth, rim + 0.02}, {-stemWidth * flare, stemBottom}),
                    P::Curve({-stemWidth * flare, stemBottom}, {0, stemBottom + 0.08}, {stemWidth * flare, stemBottom}),
                    P::Line({stemWidth * flare, stemBottom}, {stemWidth, rim + 0.02})}));
  const int spots = r.Chance(0.25) ? r.Between(2, 5) : 0;
  for (int i = 0; i < spots; ++i)
  {
    const double a = r.Uniform(200, 340) * Pi / 180.0;
    const double d = r.Uniform(0.3, 0.75);
    const double size = r.Uniform(0.05, 0.12);
    p.Stroke(p.Loop({capWidth * d * std::cos(a), rim + capHeight * d * std::sin(a)}, size, size * 0.8));
  }
  if (r.Chance(0.05))
    p.Stroke(P::Line({-capWidth * 1.2, stemBottom + 0.05}, {capWidth * 1.2, stemBottom + 0.05}));
}

void Meat(Pencil& p)
{
  // A steak: an irregular slab, wider at one end, lying at any slant, with a
  // line of fat along one side, a bone, or streaks of marbling.
  Random& r = p.Rng();
  const double rx = 1.0, ry = r.Uniform(0.45, 0.85);
  const double taper = r.Uniform(0.0, 0.35); // how much narrower the -x end is
  const double tilt = r.Uniform(-40, 40) * Pi / 180.0;
  const double c = std::cos(tilt), sn = std::sin(tilt);
  const double phases[2] = {r.Uniform(0, 6.3), r.Uniform(0, 6.3)};
  const double wobble[2] = {r.Uniform(0, 0.15), r.Uniform(0, 0.08)};
  // Many steaks are bean-shaped: one long side curves in.
  const double dent = r.Chance(0.5) ? r.Uniform(0.25, 0.6) : 0.0;
  const double dentAt = r.Chance(0.5) ? 90 : -90, dentSpread = r.Uniform(35, 60);
  auto at = [&](double degrees, double scale) {
    const double a = degrees * Pi / 180.0;
    const double off = std::remainder(degrees - dentAt, 360.0) / dentSpread;
    const double bulge = 1.0 + wobble[0] * std::sin(2 * a + phases[0]) + wobble[1] * std::sin(3 * a + phases[1]) -
                         dent * std::exp(-off * off);
    const double x = rx * std::cos(a) * bulge * scale;
    const double y = ry * std::sin(a) * bulge * scale * (1.0 - taper * (0.5 - 0.5 * std::cos(a)));
    return QPointF(x * c - y * sn, x * sn + y * c);
  };
  QPolygonF outline;
  const double start = r.Uniform(0, 360), overshoot = r.Uniform(-10, 20);
  for (double d = 0; d <= 360 + overshoot; d += 8)
    outline << at(start + d, 1.0);
  p.Stroke(outline);
  if (r.Chance(0.5))
  { // the fat: a line following the rim on one side
    QPolygonF fat;
    const double from = r.Uniform(0, 360), span = r.Uniform(100, 220), inset = r.Uniform(0.75, 0.88);
    for (double d = 0; d <= span; d += 8)
      fat << at(from + d, inset);
    p.Stroke(fat);
  }
  const double inner = r.Uniform(0, 1);
  if (inner < 0.35)
  { // a round bone towards the wide end
    const QPointF bone = at(r.Uniform(-40, 40), r.Uniform(0.3, 0.6));
    const double size = r.Uniform(0.1, 0.2);
    p.Stroke(p.Loop(bone, size, size * r.Uniform(0.8, 1.0)));
    if (r.Chance(0.4))
      p.Stroke(p.Loop(bone, size * 0.45, size * 0.45));
  }
  else if (inner < 0.5)
  { // a T-bone
    const QPointF top = at(r.Uniform(240, 300), 0.7), bottom = at(r.Uniform(60, 120), 0.6);
    const QPointF middle = (top + bottom) / 2;
    p.Stroke(P::Line(top, bottom));
    p.Stroke(P::Line(top + (at(180, 0.3) - middle) * 0.8, top + (at(0, 0.3) - middle) * 0.8));
  }
  else if (inner < 0.8)
  {
    const int streaks = r.Between(1, 4);
    for (int i = 0; i < streaks; ++i)
    {
      const QPointF a = at(r.Uniform(0, 360), r.Uniform(0.2, 0.6));
      const QPointF b = a + QPointF(r.Uniform(0.2, 0.4), r.Uniform(-0.15, 0.15));
      p.Stroke(P::Curve(a, (a + b) / 2 + QPointF(0, r.Uniform(-0.08, 0.08)), b));
    }
  }
}

void Ham(Pencil& p)
{
  Random& r = p.Rng();
  // A leg: a big rounded end at -x narrowing towards the bone at +x.
  const double bulk = r.Uniform(0.45, 0.65);
  const double neck = r.Uniform(0.08, 0.15);
  const double neckX = r.Uniform(0.25, 0.5);
  const QPointF centre(-1 + bulk, 0);
  p.Stroke(P::Join({P::Curve({neckX, -neck}, {centre.x() + bulk * 0.6, -bulk * 1.1}, {centre.x() - bulk * 0.2, -bulk}),
                    P::Arc(centre, bulk, bulk * r.Uniform(0.9, 1.05), 250, 110),
                    P::Curve({centre.x() - bulk * 0.2, bulk}, {centre.x() + bulk * 0.6, bulk * 1.1}, {neckX, neck})}));
  // The bone and its knob.
  const double boneWidth = neck * r.Uniform(0.45, 0.7);
  const double knob = r.Uniform(0.07, 0.12);
  const double end = 1.0 - knob;
  p.Stroke(P::Line({neckX, -boneWidth}, {end, -boneWidth}));
  p.Stroke(P::Line({neckX, boneWidth}, {end, boneWidth}));
  if (r.Chance(0.6))
  {
    p.Stroke(p.Loop({end, -boneWidth - knob * 0.6}, knob, knob));
    p.Stroke(p.Loop({end, boneWidth + knob * 0.6}, knob, knob));
  }
  else
    p.Stroke(p.Loop({end + knob * 0.3, 0}, knob * 1.3, knob * 1.5));
  if (r.Chance(0.4))
    p.Stroke(P::Arc(centre, bulk * 0.7, bulk * 0.7, r.Uniform(120, 160), r.Uniform(200, 240)));
  if (r.Chance(0.3))
    p.Stroke(P::Line({neckX - 0.05, -neck * 1.2}, {neckX - 0.05, neck * 1.2}));
}

void Apple(Pencil& p)
{
  Random& r = p.Rng();
  const double w = r.Uniform(0.85, 1.0), h = r.Uniform(0.8, 1.0);
  const double dip = r.Uniform(0.05, 0.18);
  // Two lobes meeting in a dip at the top, slightly narrower at the bottom.
  QPolygonF outline;
  for (int i = 0; i <= 48; ++i)
  {
    const double a = 2 * Pi * i / 48 - Pi / 2;
    const double x = w * std::cos(a) * (1.0 - 0.08 * std::sin(a));
    double y = h * std::sin(a);
    y += dip * std::exp(-std::pow(std::cos(a) / 0.25, 2)) * (std::sin(a) < 0 ? 1.0 : 0.5);
    outline << QPointF(x, y);
  }
  p.Stroke(outline);
  const double stemLean = r.Uniform(-0.15, 0.2);
  const double stemLength = r.Uniform(0.4, 0.7);
  const QPointF stemBase(0, -h + dip);
  if (r.Chance(0.7))
    p.Stroke(P::Curve(stemBase, stemBase + QPointF(0, -stemLength * 0.6), stemBase + QPointF(stemLean, -stemLength)));
  else
    p.Stroke(P::Polyline({stemBase + QPointF(-0.03, 0), stemBase + QPointF(stemLean - 0.03, -stemLength),
                          stemBase + QPointF(stemLean + 0.03, -stemLength), stemBase + QPointF(0.03, 0)}));
  if (r.Chance(0.6))
  {
    const int side = r.Sign();
    const QPointF base = stemBase + QPointF(stemLean * 0.5, -stemLength * 0.6);
    const QPointF tip = base + QPointF(side * r.Uniform(0.25, 0.45), -r.Uniform(0.0, 0.2));
    const QPointF normal(-(tip - base).y() * 0.4, (tip - base).x() * 0.4);
    p.Stroke(P::Join({P::Curve(base, (base + tip) / 2 + normal, tip), P::Curve(tip, (base + tip) / 2 - normal, base)}));
  }
  if (r.Chance(0.2))
    p.Stroke(P::Arc({0, 0}, w * 0.7, h * 0.7, 200, 240));
}

void Guitar(Pencil& p)
{
  Random& r = p.Rng();
  const double lower = r.Uniform(0.3, 0.42);
  const double upper = lower * r.Uniform(0.65, 0.85);
  const double lowerX = -1 + lower;
  const double upperX = lowerX + lower * r.Uniform(0.9, 1.2);
  const double waist = upper * r.Uniform(0.6, 0.85);
  const double neckWidth = r.Uniform(0.04, 0.07);
  const double neckFrom = upperX + upper * 0.9;
  const double headFrom = r.Uniform(0.72, 0.85);
  // The body outline: lower bout, waist, upper bout, as one line.
  const QPointF waistTop((lowerX + upperX) / 2, -waist), waistBottom((lowerX + upperX) / 2, waist);
  p.Stroke(P::Join({P::Arc({upperX, 0}, upper, upper, -130, -20),
                    P::Line({upperX + upper * std::cos(-20 * 3.14159 / 180), upper * std::sin(-20 * 3.14159 / 180)},
                            {upperX + upper * std::cos(20 * 3.14159 / 180), upper * std::sin(20 * 3.14159 / 180)}),
                    P::Arc({upperX, 0}, upper, upper, 20, 130),
                    P::Curve({upperX + upper * std::cos(130 * 3.14159 / 180), upper * std::sin(130 * 3.14159 / 180)}, waistBottom,
                             {lowerX + lower * std::cos(50 * 3.14159 / 180), lower * std::sin(50 * 3.14159 / 180)}),
                    P::Arc({lowerX, 0}, lower, lower, 50, 310),
                    P::Curve({lowerX + lower * std::cos(310 * 3.14159 / 180), lower * std::sin(310 * 3.14159 / 180)}, waistTop,
                             {upperX + upper * std::cos(-130 * 3.14159 / 180), upper * std::sin(-130 * 3.14159 / 180)})}));
  if (r.Chance(0.8))
    p.Stroke(p.Loop({upperX - upper * 0.1, 0}, upper * 0.35, upper * 0.35));
  if (r.Chance(0.5))
    p.Stroke(P::Line({lowerX - lower * 0.2, -lower * 0.35}, {lowerX - lower * 0.2, lower * 0.35}));
  shaft(p, neckFrom, headFrom, 0, neckWidth, 0.1);
  const double headWidth = neckWidth * r.Uniform(1.3, 2.0);
  p.Stroke(P::Polyline({{headFrom, -neckWidth}, {headFrom + 0.03, -headWidth}, {1, -headWidth * 0.9}, {1, headWidth * 0.9},
                        {headFrom + 0.03, headWidth}, {headFrom, neckWidth}}));
  if (r.Chance(0.4))
  {
    for (double x : {headFrom + 0.06, headFrom + 0.11})
    {
      p.Stroke(P::Line({x, -headWidth}, {x, -headWidth - 0.04}));
      p.Stroke(P::Line({x, headWidth}, {x, headWidth + 0.04}));
    }
  }
  if (r.Chance(0.5))
  {
    const int strings = r.Between(2, 4);
    for (int i = 0; i < strings; ++i)
    {
      const double y = neckWidth * (-0.6 + 1.2 * i / (strings - 1));
      p.Stroke(P::Line({lowerX - lower * 0.2, y}, {headFrom, y}));
    }
  }
  if (r.Chance(0.3))
  {
    for (int i = 1; i <= 4; ++i)
    {
      const double x = neckFrom + (headFrom - neckFrom) * i / 5.0;
      p.Stroke(P::Line({x, -neckWidth}, {x, neckWidth}));
    }
  }
}

void Shield(Pencil& p)
{
  Random& r = p.Rng();
  const double style = r.Uniform(0, 1);
  const double w = r.Uniform(0.7, 0.9);
  if (style < 0.3)
  { // round
    p.Stroke(p.Loop({0, 0}, 1, 1));
    if (r.Chance(0.5))
      p.Stroke(p.Loop({0, 0}, 0.8, 0.8));
    if (r.Chance(0.6))
      p.Stroke(p.Loop({0, 0}, 0.2, 0.2));
  }
  else
  { // heater or kite: flat top, sides curving to a point
    const double top = -1.0;
    const double shoulder = r.Uniform(-0.4, 0.1);
    const double crown = r.Uniform(-0.1, 0.15);
    p.Stroke(P::Join({P::Curve({-w, top}, {0, top + crown}, {w, top}), P::Line({w, top}, {w, shoulder}),
                      P::Curve({w, shoulder}, {w * 0.8, 0.6}, {0, 1}), P::Curve({0, 1}, {-w * 0.8, 0.6}, {-w, shoulder}),
                      P::Line({-w, shoulder}, {-w, top})}));
    const double emblem = r.Uniform(0, 1);
    if (emblem < 0.3)
    {
      p.Stroke(P::Line({0, top + 0.1}, {0, 0.85}));
      p.Stroke(P::Line({-w * 0.9, shoulder * 0.5 - 0.3}, {w * 0.9, shoulder * 0.5 - 0.3}));
    }
    else if (emblem < 0.5)
      p.Stroke(P::Join({P::Curve({-w * 0.85, top + 0.12}, {0, top + 0.12 + crown}, {w * 0.85, top + 0.12}),
                        P::Line({w * 0.85, top + 0.12}, {w * 0.85, shoulder}),
                        P::Curve({w * 0.85, shoulder}, {w * 0.65, 0.5}, {0, 0.85}),
                        P::Curve({0, 0.85}, {-w * 0.65, 0.5}, {-w * 0.85, shoulder}),
                        P::Line({-w * 0.85, shoulder}, {-w * 0.85, top + 0.12})}));
    else if (emblem < 0.65)
      p.Stroke(p.Loop({0, -0.2}, 0.25, 0.25));
    else if (emblem < 0.8)
      p.Stroke(P::Line({-w, top}, {w * 0.6, 0.4}));
  }
}

void Key(Pencil& p)
{
  Random& r = p.Rng();
  const double bow = r.Uniform(0.28, 0.48);
  const double bowX = -1 + bow;
  const double shaftWidth = r.Uniform(0.035, 0.07);
  if (r.Chance(0.15))
  { // the whole key as one outline: round the bow, along the blade, back over the teeth
    const double bladeWidth = r.Uniform(0.1, 0.22);
    const double angle = std::asin(std::min(0.9, bladeWidth / bow)) * 180 / Pi;
    // From the top of the blade round the bow to its bottom, along the teeth to
    // the tip and back along the top.
    QPolygonF outline = P::Arc({bowX, 0}, bow, bow, -angle, -360 + angle);
    const double bladeFrom = bowX + bow * std::cos(angle * Pi / 180);
    const int teeth = r.Between(1, 3);
    const double toothWidth = (1.0 - bladeFrom) * 0.6 / teeth;
    for (int i = teeth - 1; i >= 0; --i)
    {
      const double x = 1.0 - (1.0 - bladeFrom) * 0.05 - i * toothWidth;
      const double depth = bladeWidth + r.Uniform(0.12, 0.3);
      outline << QPointF(x - toothWidth, bladeWidth) << QPointF(x - toothWidth * 0.6, bladeWidth)
              << QPointF(x - toothWidth * 0.6, depth) << QPointF(x, depth);
    }
    outline << QPointF(1.0, bladeWidth) << QPointF(1.0, -bladeWidth) << QPointF(bladeFrom, -bladeWidth);
    p.Stroke(outline);
    if (r.Chance(0.6))
      p.Stroke(p.Loop({bowX - bow * 0.2, 0}, bow * 0.35, bow * 0.35));
    return;
  }
  const double style = r.Uniform(0, 1);
  if (style < 0.65)
    p.Stroke(p.Loop({bowX, 0}, bow, bow * r.Uniform(0.8, 1.1)));
  else if (style < 0.85)
    p.Stroke(P::Closed(P::Polyline({{-1, -bow}, {bowX + bow, -bow}, {bowX + bow, bow}, {-1, bow}})));
  else
    p.Stroke(p.Bumps({bowX, 0}, bow * 0.75, bow * 0.75, 3, 0.45));
  if (r.Chance(0.6))
    p.Stroke(p.Loop({bowX - bow * 0.2, 0}, bow * 0.35, bow * 0.35));
  const double shaftFrom = bowX + bow;
  const bool modern = r.Chance(0.6);
  if (modern)
  { // a flat blade with notched teeth below
    const double bladeWidth = r.Uniform(0.1, 0.2);
    const int teeth = r.Between(2, 5);
    QPolygonF lower;
    lower << QPointF(shaftFrom, bladeWidth);
    const double toothWidth = (1.0 - shaftFrom) * 0.7 / teeth;
    for (int i = 0; i < teeth; ++i)
    {
      const double x = shaftFrom + (1.0 - shaftFrom) * 0.2 + i * toothWidth;
      const double depth = bladeWidth + r.Uniform(0.1, 0.25);
      lower << QPointF(x, bladeWidth) << QPointF(x + toothWidth * 0.3, depth) << QPointF(x + toothWidth * 0.7, depth)
            << QPointF(x + toothWidth, bladeWidth);
    }
    lower << QPointF(1.0, bladeWidth * 0.5);
    p.Stroke(P::Join({P::Line({shaftFrom, -bladeWidth}, {1.0, -bladeWidth}), P::Line({1.0, -bladeWidth}, {1.0, bladeWidth * 0.5})}));
    std::reverse(lower.begin(), lower.end());
    p.Stroke(lower);
  }
  else
  { // an old key: a round shaft with a flag-shaped bit at the end
    shaft(p, shaftFrom, 1.0, 0, shaftWidth, 0.35);
    const double bitFrom = r.Uniform(0.6, 0.8);
    const double bitDepth = r.Uniform(0.2, 0.35);
    if (r.Chance(0.5))
    { // a comb of short teeth
      const int teeth = r.Between(2, 3);
      for (int i = 0; i < teeth; ++i)
      {
        const double x = bitFrom + (0.97 - bitFrom) * i / (teeth - 1);
        p.Stroke(P::Line({x, shaftWidth}, {x, bitDepth * r.Uniform(0.6, 1.0)}));
      }
      return;
    }
    p.Stroke(P::Polyline({{bitFrom, shaftWidth}, {bitFrom, bitDepth}, {0.97, bitDepth}, {0.97, shaftWidth}}));
    if (r.Chance(0.5))
      p.Stroke(P::Line({(bitFrom + 0.97) / 2, shaftWidth}, {(bitFrom + 0.97) / 2, bitDepth * 0.7}));
  }
}

void Sun(Pencil& p)
{
  Random& r = p.Rng();
  const double radius = r.Uniform(0.4, 0.55);
  const double wide = r.Uniform(1.0, 1.3);
  if (r.Chance(0.15))
  { // rising over the horizon: half a disc, rays only above it
    p.Stroke(P::Arc({0, 0}, radius * wide, radius, 180, 360));
    if (r.Chance(0.6))
      p.Stroke(P::Line({-radius * wide * 1.6, 0}, {radius * wide * 1.6, 0}));
    const int rays = r.Between(4, 8);
    for (int i = 0; i < rays; ++i)
    {
      const double a = (190.0 + 160.0 * (i + r.Uniform(0.3, 0.7)) / rays) * Pi / 180.0;
      const QPointF d(std::cos(a) * wide, std::sin(a));
      p.Stroke(P::Line(d * radius * 1.2, d * radius * r.Uniform(1.6, 1.9)));
    }
    return;
  }
  p.Stroke(p.Loop({0, 0}, radius * wide, radius));
  const int rays = r.Between(6, 16);
  const double style = r.Uniform(0, 1);
  const double gap = radius * r.Uniform(1.08, 1.25);
  const double length = r.Uniform(0.2, 0.38);
  const double start = r.Uniform(0, 360);
  if (style < 0.7)
  {
    for (int i = 0; i < rays; ++i)
    {
      const double a = (start + 360.0 * (i + r.Uniform(-0.25, 0.25)) / rays) * Pi / 180.0;
      const double l = length * (i % 2 && r.Chance(0.3) ? 0.6 : 1.0);
      const QPointF d(std::cos(a) * wide, std::sin(a));
      if (r.Chance(0.85))
        p.Stroke(P::Line(d * gap, d * (gap + l)));
    }
  }
  else
  { // a crown of triangles around the disc
    QPolygonF crown;
    for (int i = 0; i <= 2 * rays; ++i)
    {
      const double a = (start + 180.0 * i / rays) * Pi / 180.0;
      crown << QPointF(std::cos(a) * wide, std::sin(a)) * (i % 2 ? gap + length : gap);
    }
    p.Stroke(crown);
  }
  if (r.Chance(0.3))
  {
    dot(p, {-radius * 0.35, -radius * 0.2}, radius * 0.08);
    dot(p, {radius * 0.35, -radius * 0.2}, radius * 0.08);
    p.Stroke(P::Arc({0, radius * 0.1}, radius * 0.45, radius * 0.4, 20, 160));
  }
}

void Parachute(Pencil& p)
{
  Random& r = p.Rng();
  const double h = r.Uniform(0.5, 0.85);
  p.Stroke(P::Arc({0, 0}, 1, h, 180, 360));
  const double bottom = r.Uniform(0, 1);
  const int panels = r.Between(3, 6);
  QVector<double> joints;
  for (int i = 0; i <= panels; ++i)
    joints << -1 + 2.0 * i / panels;
  if (bottom < 0.6)
  {
    QPolygonF scallops;
    for (int i = 0; i < panels; ++i)
      scallops = P::Join({scallops, P::Arc({(joints[i] + joints[i + 1]) / 2, 0}, 1.0 / panels, r.Uniform(0.06, 0.15), 180, 0)});
    p.Stroke(scallops);
  }
  else if (bottom < 0.8)
    p.Stroke(P::Line({-1, 0}, {1, 0}));
  if (r.Chance(0.4))
  {
    for (int i = 1; i < panels; ++i)
      p.Stroke(P::Curve({joints[i], 0}, {joints[i] * 0.6, -h * 0.8}, {0, -h}));
  }
  const double payloadY = r.Uniform(0.8, 1.2);
  const double payload = r.Uniform(0, 1);
  const double attach = r.Chance(0.4) ? 0.0 : r.Uniform(0.05, 0.15);
  const bool allCords = r.Chance(0.4);
  for (int i = 0; i <= panels; ++i)
  {
    if (!allCords && i != 0 && i != panels)
      continue;
    p.Stroke(P::Line({joints[i], 0}, {joints[i] < 0 ? -attach : (joints[i] > 0 ? attach : 0), payloadY}));
  }
  if (payload < 0.3)
  { // a person hanging
    const double headRadius = 0.08;
    p.Stroke(p.Loop({0, payloadY - headRadius * 0.2}, headRadius, headRadius));
    p.Stroke(P::Line({0, payloadY + headRadius}, {0, payloadY + 0.3}));
    p.Stroke(P::Polyline({{-0.12, payloadY + 0.45}, {0, payloadY + 0.3}, {0.12, payloadY + 0.45}}));
    p.Stroke(P::Polyline({{-attach, payloadY + 0.05}, {0, payloadY + 0.15}, {attach, payloadY + 0.05}}));
  }
  else if (payload < 0.6)
  {
    const double size = r.Uniform(0.1, 0.2);
    box(p, -size, payloadY, size, payloadY + size * 1.6);
  }
}

void Bomb(Pencil& p)
{
  Random& r = p.Rng();
  const double radius = r.Uniform(0.55, 0.7);
  p.Stroke(p.Loop({0, 0.2}, radius, radius * r.Uniform(0.92, 1.0)));
  const double capAngle = r.Uniform(-60, -35) * Pi / 180.0;
  const QPointF d(std::cos(capAngle), std::sin(capAngle));
  const QPointF n(-d.y(), d.x());
  const QPointF capBase = QPointF(0, 0.2) + d * radius * 0.95;
  const double capWidth = radius * r.Uniform(0.2, 0.3);
  const double capHeight = radius * r.Uniform(0.15, 0.3);
  p.Stroke(P::Polyline({capBase - n * capWidth, capBase - n * capWidth + d * capHeight, capBase + n * capWidth + d * capHeight,
                        capBase + n * capWidth}));
  const QPointF fuseStart = capBase + d * capHeight;
  const QPointF fuseEnd = fuseStart + QPointF(r.Uniform(0.3, 0.6), -r.Uniform(0.25, 0.5));
  p.Stroke(P::Curve(fuseStart, fuseStart + QPointF(r.Uniform(-0.2, 0.1), -0.4), fuseEnd));
  if (r.Chance(0.85))
  {
    const int sparks = r.Between(3, 6);
    for (int i = 0; i < sparks; ++i)
    {
      const double a = 2 * Pi * i / sparks;
      p.Stroke(P::Line(fuseEnd + QPointF(std::cos(a), std::sin(a)) * 0.05, fuseEnd + QPointF(std::cos(a), std::sin(a)) * 0.2));
    }
  }
  if (r.Chance(0.3))
    p.Stroke(P::Arc({0, 0.2}, radius * 0.7, radius * 0.7, 200, 250));
}

void Saw(Pencil& p)
{
  Random& r = p.Rng();
  const double style = r.Uniform(0, 1);
  const int teeth = r.Between(5, 11);
  const double depth = r.Uniform(0.08, 0.22);
  if (style < 0.12)
  { // hacksaw
    const double frameTop = -r.Uniform(0.4, 0.6);
    p.Stroke(P::Polyline({{0.95, 0.05}, {0.95, frameTop}, {-0.6, frameTop}, {-0.6, 0.05}}));
    p.Stroke(P::Join({P::Line({-0.6, 0.0}, {0.95, 0.0}), P::Zigzag({0.95, 0.0}, {-0.6, 0.0}, teeth, 0.05)}));
    p.Stroke(P::Polyline({{-0.6, 0.0}, {-0.95, 0.1}, {-1.0, 0.45}, {-0.75, 0.5}, {-0.6, 0.05}}));
    return;
  }
  const double heel = r.Uniform(0.35, 0.8); // blade height at the handle
  const double toe = style < 0.5 ? heel : heel * r.Uniform(0.35, 0.7);
  const double bladeFrom = -r.Uniform(0.4, 0.7);
  const double topY = -heel * 0.5;
  const QPointF heelBottom(bladeFrom, topY + heel), toeBottom(1.0, topY + toe);
  const double tipDrop = style < 0.5 ? 0.0 : r.Uniform(0.0, 0.05);
  p.Stroke(P::Join({P::Line({bladeFrom, topY}, {1.0, topY + tipDrop}), P::Line({1.0, topY + tipDrop}, toeBottom)}));
  if (r.Chance(0.75))
    p.Stroke(P::Zigzag(toeBottom, heelBottom, teeth, depth));
  else
  {
    p.Stroke(P::Line(toeBottom, heelBottom));
    p.Stroke(P::Zigzag(toeBottom + QPointF(0, depth), heelBottom + QPointF(0, depth), teeth, depth));
  }
  const double back = -1.0;
  const double handle = r.Uniform(0, 1);
  if (handle < 0.15)
  { // no handle drawn: the blade just ends
    p.Stroke(P::Line({bladeFrom, topY}, heelBottom));
    return;
  }
  if (handle < 0.5)
  { // a plain block of a handle
    p.Stroke(P::Closed(P::Polyline({{bladeFrom, topY - 0.05}, {back, topY - 0.05}, {back, topY + heel + 0.05}, {bladeFrom, topY + heel + 0.05}})));
    if (r.Chance(0.6))
      p.Stroke(p.Loop({(back + bladeFrom) / 2, topY + heel * 0.5}, (bladeFrom - back) * 0.25, heel * 0.2));
    return;
  }
  // A shaped handle with a hole for the fingers.
  const double handleTop = topY - r.Uniform(0.05, 0.15);
  const double handleBottom = topY + heel + r.Uniform(0.05, 0.2);
  p.Stroke(P::Join({P::Line({bladeFrom, topY}, {bladeFrom - 0.1, handleTop}),
                    P::Curve({bladeFrom - 0.1, handleTop}, {back - 0.05, handleTop}, {back, (handleTop + handleBottom) / 2}),
                    P::Curve({back, (handleTop + handleBottom) / 2}, {back + 0.05, handleBottom}, {bladeFrom - 0.05, handleBottom}),
                    P::Line({bladeFrom - 0.05, handleBottom}, heelBottom)}));
  if (r.Chance(0.7))
    p.Stroke(p.Loop({(back + bladeFrom) / 2 + 0.02, (handleTop + handleBottom) / 2}, (bladeFrom - back) * 0.22,
                    (handleBottom - handleTop) * 0.22));
}

void Helicopter(Pencil& p)
{
  Random& r = p.Rng();
  const QPointF cabin(r.Uniform(0.15, 0.35), r.Uniform(0.05, 0.15));
  const double rx = r.Uniform(0.5, 0.75), ry = rx * r.Uniform(0.5, 0.85);
  const double tailEnd = -r.Uniform(0.55, 0.95);
  const double tailY = cabin.y() - ry * r.Uniform(0.0, 0.5);
  const double tailWidth = r.Uniform(0.03, 0.07);
  const bool oneOutline = r.Chance(0.35);
  if (oneOutline)
  { // cabin and tail boom as one line: round the cabin from its upper back,
    // out along the boom's lower edge and back along its upper edge
    const QPolygonF cabinLine = P::Arc(cabin, rx, ry, 205, 515);
    p.Stroke(P::Join({cabinLine, P::Line(cabinLine.last(), {tailEnd, tailY + tailWidth * 0.5}),
                      P::Line({tailEnd, tailY + tailWidth * 0.5}, {tailEnd, tailY - tailWidth * 0.5}),
                      P::Line({tailEnd, tailY - tailWidth * 0.5}, cabinLine.first())}));
  }
  else
    p.Stroke(p.Loop(cabin, rx, ry));
  if (r.Chance(0.7))
    p.Stroke(P::Arc(cabin, rx * 0.75, ry * 0.7, -70, r.Uniform(10, 40)));
  // Tail boom.
  const double boomFrom = cabin.x() - rx * 0.9;
  if (!oneOutline)
  {
    if (r.Chance(0.7))
    {
      p.Stroke(P::Line({boomFrom, tailY - tailWidth * 1.5}, {tailEnd, tailY - tailWidth * 0.4}));
      p.Stroke(P::Line({boomFrom, tailY + tailWidth * 1.5}, {tailEnd, tailY + tailWidth * 0.4}));
    }
    else
      p.Stroke(P::Line({boomFrom, tailY}, {tailEnd, tailY}));
  }
  // Tail rotor or fin.
  const double tailRotor = r.Uniform(0.08, 0.15);
  if (r.Chance(0.5))
  {
    p.Stroke(P::Line({tailEnd, tailY - tailRotor}, {tailEnd, tailY + tailRotor}));
    p.Stroke(P::Line({tailEnd - tailRotor, tailY}, {tailEnd + tailRotor, tailY}));
  }
  else
    p.Stroke(p.Loop({tailEnd, tailY}, tailRotor, tailRotor));
  // Mast and main rotor.
  const double rotorY = cabin.y() - ry - r.Uniform(0.1, 0.2);
  p.Stroke(P::Line({cabin.x(), cabin.y() - ry}, {cabin.x(), rotorY}));
  const double rotorHalf = r.Uniform(0.55, 0.85);
  if (r.Chance(0.7))
    p.Stroke(P::Line({cabin.x() - rotorHalf, rotorY}, {cabin.x() + rotorHalf, rotorY}));
  else
    p.Stroke(p.Loop({cabin.x(), rotorY}, rotorHalf, 0.04));
  // Skids.
  if (r.Chance(0.75))
  {
    const double skidY = cabin.y() + ry + r.Uniform(0.08, 0.18);
    p.Stroke(P::Line({cabin.x() - rx * 0.4, cabin.y() + ry * 0.9}, {cabin.x() - rx * 0.4, skidY}));
    p.Stroke(P::Line({cabin.x() + rx * 0.4, cabin.y() + ry * 0.9}, {cabin.x() + rx * 0.4, skidY}));
    p.Stroke(P::Curve({cabin.x() - rx * 0.9, skidY}, {cabin.x() + rx, skidY}, {cabin.x() + rx * 1.1, skidY - 0.06}));
  }
}
} // namespace drawings
