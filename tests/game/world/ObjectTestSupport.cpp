#include "ObjectTestSupport.h"

#include "world/DrawingPen.h"
#include "world/FixtureCreators.h"
#include "world/Object.h"
#include "world/ObjectCreator.h"

#include "world/DrawingRecognition.h"

#include "InputProtocol.h"
#include "SketchFile.h"
#include "common/ConvertUtils.h"

#include <box2d/b2_body.h>
#include <box2d/b2_fixture.h>
#include <box2d/b2_polygon_shape.h>

#include <QPainter>
#include <QRectF>

#include <algorithm>
#include <cmath>
#include <limits>

void SceneTest::SetUp()
{
  // Flat ground 6 m down, wide enough to draw on.
  fixture.Build(SceneLevel(R"(
  <start x="3" y="6"/>
  <ground><region x="0" y="6" width="30" height="1"/></ground>
)"));
  scene = &fixture.scene();
  ASSERT_NE(scene->GetPlayer(), nullptr);
}

void SceneTest::tick(int ticks)
{
  for (int i = 0; i < ticks; ++i)
    scene->advance();
}

Object* SceneTest::addStroke(const QPointF& pos, double widthPx, const QSizeF& maximumSize, bool tangible,
                             const QString& name)
{
  QPainterPath path;
  path.moveTo(-widthPx / 2, 0);
  path.lineTo(widthPx / 2, 0);
  return addPicture(pos, path, maximumSize, tangible, name, DrawingPen);
}

Object* SceneTest::addPicture(const QPointF& pos, const QPainterPath& path, const QSizeF& maximumSize, bool tangible,
                              const QString& name, const QPen& pen)
{
  auto* item = scene->addPath(path, pen);
  item->setPos(pos);
  Object* object = Object::Create(name);
  GrabableInfo grabable;
  grabable.grabable = true;
  grabable.holdingPoint.x = 0.25;
  grabable.holdingPoint.y = 0.5;
  grabable.angle = -M_PI / 2;
  UsableInfo usable;
  usable.usable = true;
  usable.animation = "swing";
  object->Init(scene, item, new PathFixtureCreator(path), scene->GetMaterials()->Get("wood"), grabable, usable, maximumSize,
               ObjectSoundsInfo(), LightSourceInfo(), tangible);
  scene->AddObject(object, true);
  return object;
}

void SceneTest::draw(ObjectCreator& creator, const QList<QPolygonF>& strokes)
{
  creator.Start();
  for (const QPolygonF& stroke : strokes)
  {
    if (stroke.isEmpty())
      continue;
    creator.MovePenTo(stroke.first());
    for (int i = 1; i < stroke.size(); ++i)
      creator.DrawLineTo(stroke[i]);
    if (stroke.size() == 1)
      creator.DrawLineTo(stroke.first());
  }
  creator.Finish();
}

double BodyOffPicturePx(const Object* object)
{
  const auto* item = dynamic_cast<const QGraphicsPathItem*>(object->GetItem());
  const b2Body* body = object->GetBody();
  if (!item || !body || !body->GetFixtureList())
    return std::numeric_limits<double>::infinity();
  QList<QLineF> shown;
  for (const QPolygonF& stroke : item->sceneTransform().map(item->path()).toSubpathPolygons())
  {
    for (int i = 1; i < stroke.size(); ++i)
      shown << QLineF(stroke[i - 1], stroke[i]);
  }
  double farthest = 0;
  for (const b2Fixture* fixture = body->GetFixtureList(); fixture; fixture = fixture->GetNext())
  {
    const auto* shape = static_cast<const b2PolygonShape*>(fixture->GetShape());
    const QPointF centre = m2px(Vec2Point(body->GetWorldPoint(shape->m_centroid)));
    double nearest = std::numeric_limits<double>::infinity();
    for (const QLineF& line : qAsConst(shown))
    {
      const QPointF d = line.p2() - line.p1();
      const double lengthSquared = QPointF::dotProduct(d, d);
      const double t =
          lengthSquared > 0 ? std::clamp(QPointF::dotProduct(centre - line.p1(), d) / lengthSquared, 0.0, 1.0) : 0;
      nearest = std::min(nearest, QLineF(centre, line.p1() + t * d).length());
    }
    farthest = std::max(farthest, nearest);
  }
  return farthest;
}

void PaintBody(QPainter& painter, const Object* object)
{
  const b2Body* body = object->GetBody();
  if (!body)
    return;
  painter.setPen(QPen(Qt::red, 1));
  painter.setBrush(Qt::NoBrush);
  for (const b2Fixture* fixture = body->GetFixtureList(); fixture; fixture = fixture->GetNext())
  {
    const auto* shape = static_cast<const b2PolygonShape*>(fixture->GetShape());
    QPolygonF outline;
    for (int v = 0; v < shape->m_count; ++v)
      outline << m2px(Vec2Point(body->GetWorldPoint(shape->m_vertices[v])));
    painter.drawPolygon(outline);
  }
}

QList<QPolygonF> PlaceStrokes(const QList<QPolygonF>& strokes, const QPointF& bottomCentre)
{
  QRectF bounds;
  for (const QPolygonF& stroke : strokes)
    bounds |= stroke.boundingRect();
  const QPointF offset = bottomCentre - QPointF(bounds.center().x(), bounds.bottom());
  QList<QPolygonF> placed;
  for (const QPolygonF& stroke : strokes)
    placed << stroke.translated(offset);
  return placed;
}

namespace
{
const QList<Sketch>& references()
{
  static const QList<Sketch> sketches = [] {
    QList<Sketch> read;
    QString error;
    EXPECT_TRUE(ReadSketches(BV_BUILT_REFERENCES, read, error)) << error.toStdString();
    return read;
  }();
  return sketches;
}
} // namespace

QList<QPolygonF> Reference(const QString& name, const QString& direction, double sizePx)
{
  for (const Sketch& sketch : references())
  {
    const DrawingRecognition::ParsedId id = DrawingRecognition::ParseId(sketch.word);
    if (id.name == name && (direction.isEmpty() ? !id.hasDirection : sketch.word.endsWith("_" + direction)))
      return Resample(ScaleToLongerSide(sketch.strokes, sizePx), 8);
  }
  ADD_FAILURE() << "no reference of " << name.toStdString() << " " << direction.toStdString();
  return {};
}
