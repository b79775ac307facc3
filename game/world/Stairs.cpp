#include "world/Stairs.h"

#include "world/DrawingPen.h"
#include "world/Scene.h"

#include "common/ConvertUtils.h"
#include "common/GlobalConstants.h"
#include "common/Material.h"

#include <box2d/b2_body.h>
#include <box2d/b2_fixture.h>
#include <box2d/b2_polygon_shape.h>
#include <box2d/b2_world.h>

#include <QGraphicsPathItem>
#include <QLoggingCategory>
#include <QTransform>

#include <algorithm>

Q_LOGGING_CATEGORY(lcStairs, "bv.objects")

namespace
{
// The polyline moved so that its rectangle is centred on \a centre, then scaled about it.
QPolygonF fitPolyline(const QPolygonF& polyline, QPointF centre, double sx, double sy)
{
  const QPolygonF moved = polyline.translated(centre - polyline.boundingRect().center());
  QTransform transform;
  transform.translate(centre.x(), centre.y());
  transform.scale(sx, sy);
  transform.translate(-centre.x(), -centre.y());
  return transform.map(moved);
}

// A drawn line may be perfectly straight, with no extent across it: it then keeps its size.
double ratio(double wanted, double actual)
{
  return actual > 0 ? wanted / actual : 1.0;
}
} // namespace

void CreateStairs(const QList<QPolygonF>& horizontalLines, const QList<QPolygonF>& verticalLines, Direction direction,
                  QGraphicsPathItem* drawing, const Material& material, Scene* scene)
{
  qCDebug(lcStairs) << "stairs direction =" << (direction == Right ? "right" : "left");
  if (horizontalLines.isEmpty() || verticalLines.isEmpty())
  {
    delete drawing;
    return;
  }

  b2BodyDef definition;
  definition.type = b2_staticBody;
  definition.position = Point2Vec(px2m(drawing->pos()));
  definition.angle = 0;
  definition.linearDamping = bv::LinearDampling;
  definition.angularDamping = bv::AngularDampling;
  definition.gravityScale = 1;
  b2Body* body = scene->GetWorld()->CreateBody(&definition);

  const QRectF r = drawing->boundingRect();
  int n = verticalLines.size();
  while (r.height() / n > bv::MaxStairHeightPx)
    ++n;
  const double h = r.height() / n;
  const double w = std::max(bv::MinStairWidthPx, r.width() / (n + 1));
  const double startX = direction == Right ? r.x() : r.x() + r.width();
  const double dx = direction == Right ? w : -w;

  QPainterPath path;
  for (int i = 0; i <= n; ++i)
  {
    const double y = r.y() + r.height() - i * h;
    const QPointF c(startX + (i + 0.5) * dx, y);

    b2PolygonShape box;
    box.SetAsBox(px2m(w / 2), bv::ApproximationBoxHeight / 2, b2Vec2(px2m(c.x()), px2m(y) + bv::ApproximationBoxHeight),
                 0);
    b2FixtureDef fixture;
    fixture.shape = &box;
    material.ApplyTo(fixture);
    body->CreateFixture(&fixture);

    const QPolygonF& tread = horizontalLines[i % horizontalLines.size()];
    const double sx = ratio(w, tread.boundingRect().width());
    path.addPolygon(fitPolyline(tread, c, sx, std::min(sx, 1.0)));
  }
  for (int j = 0; j < n; ++j)
  {
    const QPointF c(startX + (j + 1) * dx, r.y() + r.height() - (j + 0.5) * h);
    const QPolygonF& riser = verticalLines[j % verticalLines.size()];
    const double sy = ratio(h, riser.boundingRect().height());
    path.addPolygon(fitPolyline(riser, c, std::min(sy, 1.0), sy));
  }

  QGraphicsPathItem* item = scene->addPath(path, DrawingPen, Qt::NoBrush);
  item->setPos(drawing->pos());
  item->setZValue(bv::ObjectsZValue);
  scene->AddItemToBlur(item);
  delete drawing;
}
