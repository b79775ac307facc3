#include "world/Ladder.h"

#include "world/DrawingPen.h"
#include "world/FixtureCreators.h"
#include "world/Scene.h"

#include "common/FastTrigonometry.h"
#include "common/GlobalConstants.h"
#include "common/GraphicsItemUserData.h"

#include <QGraphicsPathItem>

#include <cmath>

namespace
{
constexpr double MaxUprightTiltDegrees = 5.0;

// The lowest point of the polylines: the first one of the largest y.
QPointF lowestPoint(const QList<QPolygonF>& polylines)
{
  QPointF lowest;
  bool found = false;
  for (const QPolygonF& polyline : polylines)
  {
    for (const QPointF& point : polyline)
    {
      if (!found || point.y() > lowest.y())
      {
        lowest = point;
        found = true;
      }
    }
  }
  return lowest;
}
} // namespace

Ladder::Ladder() = default;

void Ladder::Init(const QList<QPolygonF>& leftPlank, const QList<QPolygonF>& rightPlank,
                  const shapewise::LadderCleats& cleats, QGraphicsItem* drawing, Scene* scene,
                  const Material& material, const ObjectSoundsInfo& sounds)
{
  InitFastTrigonometry();
  m_scene = scene;
  m_material = material;
  m_sounds = sounds;
  m_cleatCount = static_cast<int>(cleats.size());

  QPainterPath path;
  for (const QPolygonF& polyline : leftPlank)
    path.addPolygon(polyline);
  for (const QPolygonF& polyline : rightPlank)
    path.addPolygon(polyline);

  // Both planks stand on one line: the shorter one is drawn down to it.
  const QPointF bl = lowestPoint(leftPlank);
  const QPointF br = lowestPoint(rightPlank);
  if (bl.y() <= br.y())
  {
    path.moveTo(bl);
    path.lineTo(bl.x(), br.y());
  }
  else
  {
    path.moveTo(br);
    path.lineTo(br.x(), bl.y());
  }
  const double bottom = std::max(bl.y(), br.y());

  // The drawn cleats, lowest first, take the lowest places.
  const QRectF r = drawing->boundingRect();
  double y = bottom - bv::LadderCleatsDistance;
  for (auto it = cleats.crbegin(); it != cleats.crend(); ++it)
  {
    path.addPolygon(it->second.translated(0, y - it->first));
    y -= bv::LadderCleatsDistance;
    if (y < r.top())
      break;
  }
  while (y > r.top() + bv::LadderCleatsDistance / 2)
  {
    path.moveTo(r.left(), y);
    path.lineTo(r.right(), y);
    ++m_cleatCount;
    y -= bv::LadderCleatsDistance;
  }

  QGraphicsPathItem* item = scene->addPath(path, DrawingPen, Qt::NoBrush);
  item->setPos(drawing->pos());
  delete drawing;
  m_item = item;
  AssignLadderToGraphicsItem(this, m_item);

  const QRectF bounds = m_item->sceneBoundingRect();
  bool onGround = false;
  for (const QRectF& ground : scene->GetGroundRegions())
    onGround = onGround || bounds.intersects(ground);
  m_object = onGround ? nullptr : createObject();
  scene->AddLadder(this);
}

bool Ladder::IsUp() const
{
  double rotation = std::fmod(m_item->rotation(), 360.0);
  if (rotation < 0)
    rotation += 360.0;
  return FastCos(rotation) >= FastCos(MaxUprightTiltDegrees);
}

double Ladder::GetCleatY(int index) const
{
  const QRectF r = m_item->sceneBoundingRect();
  return r.y() + r.height() - bv::LadderCleatsDistance - index * bv::LadderCleatsDistance;
}

int Ladder::GetClosestCleatIndex(double y) const
{
  const QRectF r = m_item->sceneBoundingRect();
  return static_cast<int>(std::round((r.y() + r.height() - y) / bv::LadderCleatsDistance)) - 1;
}

int Ladder::GetCleatCount() const
{
  return m_cleatCount;
}

Object* Ladder::GetObject() const
{
  return m_object;
}

QGraphicsItem* Ladder::GetItem() const
{
  return m_item;
}

Object* Ladder::createObject() const
{
  auto* item = static_cast<QGraphicsPathItem*>(m_item);
  auto* object = new Object(QString(), ObjectCategory::Other, nullptr);
  object->Init(m_scene, m_item, new PathFixtureCreator(item->path()), m_material, GrabableInfo(), UsableInfo(),
               QSizeF(-1, -1), m_sounds, LightSourceInfo(), true);
  m_scene->AddObject(object, true);
  return object;
}
