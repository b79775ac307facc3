#include "Pictures.h"

#include "Pencil.h"
#include "SketchFile.h"
#include "Sketchbook.h"

#include <QPainter>
#include <QRegularExpression>

#include <cmath>
#include <tuple>

using namespace sketchbook;

namespace pictures
{
namespace
{

QImage blank(int width, int height)
{
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

// A key cap with its label; the width follows the label.
QRectF keyCap(QPainter& painter, QPointF topLeft, const QString& label, Random& random, double heightPx = 54,
              bool pressed = false)
{
  const QFont font = Lettering(heightPx * 0.48);
  const double width = std::max(heightPx, QFontMetricsF(font).horizontalAdvance(label) + heightPx * 0.6);
  const QRectF cap(topLeft + QPointF(0, pressed ? heightPx * 0.08 : 0), QSizeF(width, heightPx * 0.9));
  QPainterPath shape;
  shape.addRoundedRect(cap, heightPx * 0.18, heightPx * 0.18);
  if (!pressed)
  {
    QPainterPath side;
    side.addRoundedRect(cap.translated(0, heightPx * 0.1), heightPx * 0.18, heightPx * 0.18);
    Wash(painter, side, random, ink::Rock, 0.7);
    Outline(painter, side, random, 2.0);
  }
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillPath(shape, pressed ? QColor(226, 222, 212) : QColor(250, 248, 240));
  painter.restore();
  Outline(painter, shape, random, 2.2);
  WriteCentred(painter, label, cap.center(), font, random);
  return cap;
}

// The strokes of a drawing fitted into box, drawn in pencil.
void drawing(QPainter& painter, const QList<QPolygonF>& strokes, const QRectF& box, Random& random)
{
  QRectF bounds;
  for (const QPolygonF& stroke : strokes)
    bounds = bounds.united(stroke.boundingRect());
  if (bounds.isEmpty() && bounds.width() <= 0 && bounds.height() <= 0)
    return;
  const double scale = std::min(box.width() / std::max(1.0, bounds.width()), box.height() / std::max(1.0, bounds.height()));
  const QTransform fit = QTransform::fromTranslate(-bounds.center().x(), -bounds.center().y()) *
                         QTransform::fromScale(scale, scale) * QTransform::fromTranslate(box.center().x(), box.center().y());
  for (const QPolygonF& stroke : strokes)
    Line(painter, fit.map(stroke), random, 2.6);
}

// Numbered circles telling in which order to draw strokes.
void strokeNumber(QPainter& painter, QPointF at, int number, Random& random)
{
  QPainterPath ring;
  ring.addEllipse(at, 12, 12);
  Wash(painter, ring, random, ink::Sun, 0.7);
  Outline(painter, ring, random, 1.6);
  WriteCentred(painter, QString::number(number), at, Lettering(17), random);
}
} // namespace

QList<KeyRow> HelpKeys()
{
  QList<int> digits;
  for (int key = Qt::Key_0; key <= Qt::Key_9; ++key)
    digits << key;
  return {{{Qt::Key_Left, Qt::Key_Right}, {"\u2190", "\u2192"}, "walk"},
          {{Qt::Key_Up, Qt::Key_Down}, {"\u2191", "\u2193"}, "climb a ladder, steer"},
          {{Qt::Key_Return}, {"Return"}, "jump"},
          {{Qt::Key_Shift}, {"Shift"}, "pick up the circled thing, drop"},
          {{Qt::Key_Space}, {"Space"}, "use what you hold"},
          {{Qt::Key_Control}, {"Ctrl", "+ drag"}, "draw"},
          {{Qt::Key_Backspace}, {"Backspace"}, "while drawing: take back a line"},
          {{Qt::Key_Escape}, {"Esc"}, "menu"},
          {{Qt::Key_F11}, {"F11"}, "full screen or window"},
          {digits, {"Alt", "+ 0..9"}, "save a drawing; 0..9: place it"}};
}

QImage MenuBackground()
{
  constexpr int W = 1920, H = 1080;
  QImage image = blank(W, H);
  QPainter painter(&image);
  Random random(1001);
  Paper(painter, image.rect(), random);

  QPainterPath sky;
  sky.addRect(QRectF(0, 0, W, 830));
  Wash(painter, sky, random, ink::Sky, 0.45);
  Sun(painter, {1700, 150}, 62, random);
  for (const auto& [x, y, w] : {std::tuple{250.0, 170.0, 260.0}, {700.0, 80.0, 200.0}, {1480.0, 380.0, 230.0}})
  {
    const QPainterPath c = CloudShape({x, y}, w, random);
    painter.fillPath(c, QColor(252, 250, 244, 220));
    Outline(painter, c, random, 2.0);
  }

  // The sea on the left meets far hills; a meadow and sand in front.
  const QPainterPath far = HillsShape(0, W, 700, 830, 40, random);
  Wash(painter, far, random, ink::Grass, 0.5);
  Line(painter, TopEdge(far, 830), random, 2.0);
  const QPainterPath sea = Shape(Points({{0, 730}, {640, 730}, {820, 830}, {0, 830}}));
  Wash(painter, sea, random, ink::Sea, 0.65);
  Line(painter, Points({{0, 730}, {640, 730}, {820, 830}}), random, 1.8);
  for (int i = 0; i < 7; ++i)
  {
    const double y = 748 + i * 12, x = random.Uniform(20, 520);
    Line(painter, Points({{x, y}, {x + 30, y - 4}, {x + 60, y}, {x + 90, y - 4}}), random, 1.6);
  }
  QPainterPath meadow;
  meadow.addRect(QRectF(0, 830, W, H - 830));
  Wash(painter, meadow, random, ink::Grass, 0.45);
  const QPainterPath near = HillsShape(0, W, 900, H, 30, random);
  Wash(painter, near, random, ink::Sand, 0.75);
  Hatch(painter, near, random, 20, 16, ink::Graphite, 0.15);
  Line(painter, TopEdge(near, H), random, 2.6);
  Line(painter, Points({{0, 830}, {W, 830}}), random, 1.4);

  Tree(painter, {1700, 905}, 420, random);
  // The hero, with the pencil it draws its way with in its hand.
  StickFigure(painter, {250, 905}, 240, random, ink::Figure);
  DrawnPencil(painter, {306, 772}, {372, 640}, 16, random);

  // The title, drawn over a warm wash like a marker stroke.
  const QFont title = Lettering(230);
  QPainterPath marker;
  marker.addRoundedRect(QRectF(560, 190, 800, 150), 70, 70);
  Wash(painter, marker, random, ink::Sun, 0.55);
  WriteCentred(painter, "Brisvel", {960, 250}, title, random);
  WriteCentred(painter, "draw your way through", {960, 380}, Lettering(46, false), random);
  return image;
}

QImage HelpScreen(const QList<Sketch>& references, const QStringList& objectNames)
{
  constexpr int W = 1920, H = 1080;
  QImage image = blank(W, H);
  QPainter painter(&image);
  Random random(2002);
  Paper(painter, image.rect(), random);
  WriteCentred(painter, "How to play", {W / 2.0, 70}, Lettering(76), random);

  // The keys.
  Write(painter, "Keys", {70, 190}, Lettering(46), random);
  double y = 225;
  for (const KeyRow& row : HelpKeys())
  {
    double x = 70;
    for (const QString& cap : row.caps)
    {
      if (cap.startsWith('+'))
      {
        Write(painter, cap, {x + 4, y + 32}, Lettering(28), random);
        x += 110;
        continue;
      }
      x = keyCap(painter, {x, y}, cap, random, 48).right() + 12;
    }
    Write(painter, row.action, {300, y + 32}, Lettering(28, false), random);
    y += 60;
  }
  QPainterPath note;
  note.addRoundedRect(QRectF(60, 820, 600, 200), 24, 24);
  Wash(painter, note, random, ink::Sky, 0.4);
  Outline(painter, note, random, 2.0);
  Write(painter, "Hold Ctrl and draw with the mouse.", {90, 880}, Lettering(28, false), random);
  Write(painter, "Let go: your drawing comes to life!", {90, 925}, Lettering(28, false), random);
  Write(painter, "Draw it big and simple.", {90, 970}, Lettering(28, false), random);
  StickFigure(painter, {600, 1005}, 120, random, ink::Figure, true);

  // The drawing guide: one typical drawing of each object, then ladder and stairs.
  Write(painter, "Drawing guide", {740, 190}, Lettering(46), random);
  constexpr double Left = 740, Top = 215, CellW = 190, CellH = 210;
  constexpr int Columns = 6;
  int cell = 0;
  const auto cellRect = [&](int index) {
    return QRectF(Left + (index % Columns) * CellW, Top + (index / Columns) * CellH, CellW - 12, CellH - 12);
  };
  for (const QString& name : objectNames)
  {
    // The drawing pointing right or nowhere when there is one, else the first.
    const QRegularExpression word("^" + QRegularExpression::escape(name) + "\\d+(_[a-z]+)?$");
    const Sketch* chosen = nullptr;
    for (const Sketch& sketch : references)
    {
      const QRegularExpressionMatch match = word.match(sketch.word);
      if (!match.hasMatch())
        continue;
      if (match.captured(1).isEmpty() || match.captured(1) == "_right")
      {
        chosen = &sketch;
        break;
      }
      if (!chosen)
        chosen = &sketch;
    }
    if (!chosen)
      continue;
    const QRectF box = cellRect(cell++);
    drawing(painter, chosen->strokes, box.adjusted(22, 14, -22, -58), random);
    WriteCentred(painter, QString(name).replace('_', ' '), {box.center().x(), box.bottom() - 22}, Lettering(26), random);
  }

  // A ladder: the two sides first, then the rungs.
  QRectF box = cellRect(cell++);
  QPainterPath highlight;
  highlight.addRoundedRect(box.united(cellRect(cell)), 20, 20);
  Wash(painter, highlight, random, ink::Sun, 0.3);
  const double lx = box.left() + 60, lr = box.left() + 120, top = box.top() + 18, bottom = box.bottom() - 62;
  Line(painter, Points({{lx, top}, {lx, bottom}}), random, 2.6);
  Line(painter, Points({{lr, top}, {lr, bottom}}), random, 2.6);
  for (int rung = 0; rung < 4; ++rung)
  {
    const double ry = top + 16 + rung * (bottom - top - 30) / 3;
    Line(painter, Points({{lx - 4, ry}, {lr + 4, ry}}), random, 2.6);
  }
  strokeNumber(painter, {lx - 22, top + 10}, 1, random);
  strokeNumber(painter, {lr + 22, top + 10}, 2, random);
  strokeNumber(painter, {lr + 30, top + 56}, 3, random);
  WriteCentred(painter, "ladder", {box.center().x(), box.bottom() - 36}, Lettering(26), random);
  WriteCentred(painter, "sides, then rungs", {box.center().x(), box.bottom() - 8}, Lettering(19, false), random);

  // Stairs: one line, across and up, step after step.
  box = cellRect(cell++);
  QPolygonF steps;
  const double sx = box.left() + 22, sy = box.bottom() - 66, step = 36;
  steps << QPointF(sx, sy);
  for (int i = 0; i < 4; ++i)
    steps << QPointF(sx + (i + 1) * step, sy - i * step * 0.8) << QPointF(sx + (i + 1) * step, sy - (i + 1) * step * 0.8);
  Line(painter, steps, random, 2.6);
  strokeNumber(painter, {sx - 4, sy - 22}, 1, random);
  WriteCentred(painter, "stairs", {box.center().x(), box.bottom() - 36}, Lettering(26), random);
  WriteCentred(painter, "one line, step by step", {box.center().x(), box.bottom() - 8}, Lettering(19, false), random);
  return image;
}

QImage DrawingCursor()
{
  QImage image = blank(48, 48);
  QPainter painter(&image);
  Random random(3003);
  DrawnPencil(painter, {0.5, 0.5}, {45, 45}, 11, random);
  return image;
}

QImage ContinueIndicator(int frame)
{
  QImage image = blank(124, 64);
  QPainter painter(&image);
  Random random(4004); // both frames share their strokes: only the press differs
  keyCap(painter, {6, 4}, "Space", random, 54, frame == 2);
  return image;
}

QImage Icon(int sizePx)
{
  QImage image = blank(sizePx, sizePx);
  QPainter painter(&image);
  painter.scale(sizePx / 256.0, sizePx / 256.0);
  Random random(5005);
  QPainterPath page;
  page.addRoundedRect(QRectF(8, 8, 240, 240), 36, 36);
  painter.setClipPath(page);
  Paper(painter, QRectF(0, 0, 256, 256), random);
  painter.setClipping(false);
  QPainterPath ground;
  ground.addRect(QRectF(8, 200, 240, 48));
  painter.setClipPath(page);
  Wash(painter, ground, random, ink::Sand, 0.8);
  painter.setClipping(false);
  Line(painter, Points({{20, 200}, {236, 200}}), random, 4);
  StickFigure(painter, {100, 200}, 160, random, ink::Figure);
  DrawnPencil(painter, {132, 120}, {214, 30}, 22, random);
  Outline(painter, page, random, 5);
  return image;
}

QImage Eagle()
{
  QImage image = blank(360, 240);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  Random random(6006);
  const QColor plumage(120, 86, 58);

  // The far wing, raised behind the head, paler for the distance.
  const QPainterPath farWing = Shape(Points({{215, 104}, {236, 40}, {268, 8}, {300, 4}, {284, 24}, {298, 30},
                                             {276, 44}, {286, 54}, {256, 70}, {236, 108}}));
  Wash(painter, farWing, random, plumage.lighter(135), 0.7);
  Outline(painter, farWing, random, 2.0);

  const QPainterPath tail = Shape(Points({{112, 108}, {46, 92}, {28, 112}, {40, 132}, {60, 142}, {114, 130}}));
  Wash(painter, tail, random, ink::Paper, 0.95);
  Outline(painter, tail, random);
  for (const QPolygonF& feather : {Points({{104, 116}, {44, 104}}), Points({{104, 122}, {36, 122}}),
                                   Points({{106, 126}, {52, 138}})})
    Line(painter, feather, random, 1.2);

  QPainterPath body;
  body.addEllipse(QPointF(190, 118), 84, 32);
  Wash(painter, body, random, plumage, 0.85);
  Hatch(painter, body, random, 35, 9);
  Outline(painter, body, random);

  // The legs reach down to the talons that grip: 0.64 of the width, 0.86 of the height.
  const QPointF talons(0.64 * 360, 0.86 * 240);
  Line(painter, Points({{214, 142}, {222, 176}, talons}), random, 3.0);
  Line(painter, Points({{232, 140}, {238, 174}, talons + QPointF(6, -2)}), random, 3.0);
  for (const QPolygonF& claw : {Points({talons, talons + QPointF(-14, 6), talons + QPointF(-16, 14)}),
                                Points({talons, talons + QPointF(4, 12), talons + QPointF(-2, 18)}),
                                Points({talons, talons + QPointF(16, 6), talons + QPointF(16, 14)})})
    Line(painter, claw, random, 2.4);

  // The near wing, raised high.
  const QPainterPath nearWing = Shape(Points({{206, 102}, {170, 40}, {124, 10}, {66, 4}, {96, 24}, {58, 24},
                                              {98, 44}, {64, 50}, {114, 64}, {92, 76}, {150, 86}, {176, 112}}));
  Wash(painter, nearWing, random, plumage, 0.9);
  Hatch(painter, nearWing, random, -30, 10);
  Outline(painter, nearWing, random);
  for (const QPolygonF& feather : {Points({{150, 70}, {100, 40}}), Points({{164, 58}, {118, 24}}),
                                   Points({{176, 50}, {140, 18}})})
    Line(painter, feather, random, 1.3);

  // A white head looking ahead, with its hooked yellow beak.
  QPainterPath head;
  head.addEllipse(QPointF(286, 90), 26, 22);
  Wash(painter, head, random, ink::Paper, 1.0);
  Outline(painter, head, random);
  const QPainterPath beak = Shape(Points({{306, 80}, {334, 86}, {340, 98}, {330, 94}, {308, 100}}));
  Wash(painter, beak, random, ink::Sun, 0.95);
  Outline(painter, beak, random, 1.8);
  QPainterPath eye;
  eye.addEllipse(QPointF(294, 84), 3.5, 3.5);
  painter.fillPath(eye, ink::Graphite);
  Line(painter, Points({{284, 78}, {300, 78}}), random, 2.0);
  return image;
}
} // namespace pictures
