#include "world/Door.h"

#include "world/FixtureCreators.h"
#include "world/Object.h"
#include "world/Scene.h"

#include "common/BodyUserData.h"
#include "common/ConvertUtils.h"
#include "common/FastTrigonometry.h"
#include "common/GlobalConstants.h"
#include "common/GraphicsItemUserData.h"

#include <box2d/b2_body.h>
#include <box2d/b2_world.h>

#include <QGraphicsPixmapItem>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace
{
constexpr double AngleStep = bv::TickIntervalMs * 90.0 / 1500.0;
constexpr QSize PencilDoorSizePx(110, 230);

// Graphite on paper, a little lighter where the pencil only touched it.
const QColor PencilColor(45, 45, 55);
const QColor PaperColor(238, 228, 206);
const QColor PencilHatchColor(45, 45, 55, 90);

// A pencil line from \a a to \a b: not quite straight, drawn twice slightly apart
// as a hand goes over a line again. \a seed varies the wobble from line to line.
void pencilLine(QPainter& painter, QPointF a, QPointF b, int seed)
{
  const QLineF line(a, b);
  const QPointF normal = line.length() > 0 ? QPointF(-line.dy(), line.dx()) / line.length() : QPointF();
  for (int pass = 0; pass < 2; ++pass)
  {
    QPainterPath path;
    constexpr int Steps = 12;
    for (int i = 0; i <= Steps; ++i)
    {
      const double t = double(i) / Steps;
      const double wobble = 1.2 * std::sin(7.0 * t + seed * 1.7 + pass * 2.3) + (pass ? 0.8 : 0.0);
      const QPointF p = line.pointAt(t) + normal * wobble;
      if (i == 0)
        path.moveTo(p);
      else
        path.lineTo(p);
    }
    painter.setPen(QPen(pass ? PencilHatchColor : PencilColor, pass ? 1.5 : 2.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(path);
  }
}

// Parallel strokes across \a area, clipped to it: the shading of a pencil sketch.
void hatch(QPainter& painter, const QPolygonF& area, double spacingPx)
{
  painter.save();
  QPainterPath clip;
  clip.addPolygon(area);
  painter.setClipPath(clip);
  painter.setPen(QPen(PencilHatchColor, 1.2, Qt::SolidLine, Qt::RoundCap));
  const QRectF r = area.boundingRect();
  for (double x = r.left() - r.height(); x < r.right(); x += spacingPx)
    painter.drawLine(QPointF(x, r.bottom()), QPointF(x + r.height() * 0.6, r.top()));
  painter.restore();
}

QPixmap blankPicture()
{
  QPixmap picture(PencilDoorSizePx);
  picture.fill(Qt::transparent);
  return picture;
}
} // namespace

Door::~Door()
{
  removeObstacle();
  delete m_item;
}

void Door::Init(Scene* scene, const QPixmap& opened, const QPixmap& closed, QPointF pos, const Sounds& sounds,
                const Material& material)
{
  InitFastTrigonometry();
  m_scene = scene;
  m_openedPixmap = opened;
  m_closedPixmap = closed;
  m_opening = false;
  m_angle = ClosedAngle;
  m_item = scene->addPixmap(closed);
  m_item->setPos(pos);
  AssignDoorToGraphicsItem(this, m_item);
  m_sounds = sounds;
  m_health = 1.0;
  m_material = material;
  createObstacle();
}

void Door::Open()
{
  if (qFuzzyIsNull(m_angle) || m_opening)
    return;
  m_opening = true;
  removeObstacle();
}

void Door::Advance()
{
  if (!m_opening)
    return;
  m_angle -= AngleStep;
  if (m_angle <= 0)
  {
    m_angle = 0;
    m_opening = false;
  }
  else if (m_angle < PixmapSwitchAngle && m_item->pixmap().cacheKey() != m_openedPixmap.cacheKey())
  {
    m_item->setPixmap(m_openedPixmap);
  }
  if (m_angle < PixmapSwitchAngle)
    m_item->setTransform(
        QTransform().scale(FastCos(m_angle), 1).shear(0, ShearFactor * FastSin(m_angle)));
  else
    m_item->resetTransform();
}

Object* Door::TakeDamage(double damage, Direction direction)
{
  // The fragment is already there: a second one would come from nowhere.
  if (m_broken)
    return nullptr;
  m_health = std::max(0.0, m_health - damage);
  if (m_health > 0)
    return nullptr;

  m_broken = true;
  m_angle = 0;
  m_opening = false;
  m_item->hide();
  const QRectF obstacle = obstacleRect();
  removeObstacle();

  QPixmap picture = m_closedPixmap;
  if (direction == Left)
    picture = picture.transformed(QTransform(-1, 0, 0, 1, 0, 0));
  QGraphicsPixmapItem* fragmentItem = m_scene->addPixmap(picture);
  const QPointF centre = fragmentItem->boundingRect().center();
  fragmentItem->setTransform(QTransform::fromTranslate(-centre.x(), -centre.y()));
  fragmentItem->setPos(m_item->sceneBoundingRect().center());

  auto* fragment = new Object(QString(), ObjectCategory::Other, nullptr);
  fragment->Init(m_scene, fragmentItem, new RectFixtureCreator(obstacle.width(), obstacle.height()), m_material,
                 GrabableInfo(), UsableInfo(), QSizeF(-1, -1), ObjectSoundsInfo(m_sounds.hit, -1, -1, 1.0),
                 LightSourceInfo(), true);
  m_scene->AddObject(fragment, true);
  return fragment;
}

QPointF Door::GetGroundPos() const
{
  const QRectF r = m_item->sceneBoundingRect();
  return QPointF(r.center().x(), r.bottom());
}

bool Door::IsClosed() const
{
  return qFuzzyCompare(m_angle, ClosedAngle);
}

QRectF Door::obstacleRect() const
{
  const int h = m_closedPixmap.height();
  return QRectF(-bv::DoorWidth / 2, -(h / 2) + 0.15 * h, bv::DoorWidth, (h * -0.15 - h * 0.15) + h);
}

void Door::createObstacle()
{
  const QRectF r = obstacleRect();
  b2BodyDef definition;
  definition.linearDamping = bv::LinearDampling;
  definition.angularDamping = bv::AngularDampling;
  definition.position = Point2Vec(px2m(m_item->sceneBoundingRect().center() + r.center()));
  m_body = m_scene->GetWorld()->CreateBody(&definition);
  RectFixtureCreator(r.width(), r.height()).Run(m_material, bv::MetersPerPixel, m_body, false);
  AssignDoorToBody(this, m_body);
}

void Door::removeObstacle()
{
  if (!m_body)
    return;
  DestroyBodyUserData(m_body);
  m_scene->GetWorld()->DestroyBody(m_body);
  m_body = nullptr;
}

QPixmap Door::PencilClosedPicture()
{
  QPixmap picture = blankPicture();
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  const double w = picture.width(), h = picture.height();
  const QPolygonF panel({{5, 5}, {w - 5, 5}, {w - 5, h - 3}, {5, h - 3}});
  // Solid: nothing behind a closed door shows through it.
  painter.setPen(Qt::NoPen);
  painter.setBrush(PaperColor);
  painter.drawPolygon(panel);
  hatch(painter, panel, 9);
  for (int i = 0; i < 4; ++i)
    pencilLine(painter, panel[i], panel[(i + 1) % 4], i);
  // Planks, two hinges and a round handle.
  pencilLine(painter, {w / 3, 8}, {w / 3, h - 6}, 5);
  pencilLine(painter, {2 * w / 3, 8}, {2 * w / 3, h - 6}, 6);
  pencilLine(painter, {2, 0.2 * h}, {16, 0.2 * h}, 7);
  pencilLine(painter, {2, 0.8 * h}, {16, 0.8 * h}, 8);
  painter.setPen(QPen(PencilColor, 2.5));
  painter.setBrush(PaperColor.lighter(110));
  painter.drawEllipse(QPointF(w - 18, 0.52 * h), 6, 6);
  return picture;
}

QPixmap Door::PencilOpenedPicture()
{
  QPixmap picture = blankPicture();
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  const double w = picture.width(), h = picture.height();
  // The dark doorway, and the panel swung out towards the viewer on its hinges.
  const QPolygonF doorway({{5, 5}, {w - 5, 5}, {w - 5, h - 3}, {5, h - 3}});
  hatch(painter, doorway, 5);
  for (int i = 0; i < 3; ++i)
    pencilLine(painter, doorway[i], doorway[i + 1], 10 + i);
  const QPolygonF panel({{5, 5}, {0.45 * w, 14}, {0.45 * w, h - 10}, {5, h - 3}});
  painter.setPen(Qt::NoPen);
  painter.setBrush(PaperColor);
  painter.drawPolygon(panel);
  hatch(painter, panel, 12);
  for (int i = 0; i < 4; ++i)
    pencilLine(painter, panel[i], panel[(i + 1) % 4], 14 + i);
  pencilLine(painter, {0.25 * w, 12}, {0.25 * w, h - 8}, 18);
  return picture;
}
