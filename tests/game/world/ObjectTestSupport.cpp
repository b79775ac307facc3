#include "ObjectTestSupport.h"

#include "world/DrawingPen.h"
#include "world/FixtureCreators.h"
#include "world/Object.h"
#include "world/ObjectCreator.h"

#include <QRectF>

#include <cmath>

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
  auto* item = scene->addPath(path, DrawingPen);
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
