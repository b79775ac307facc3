#include "SceneTestSupport.h"

#include "common/GlobalConstants.h"
#include "world/DarknessLayer.h"
#include "world/DrawingPen.h"
#include "world/FixtureCreators.h"
#include "world/LightSource.h"
#include "world/Object.h"
#include "world/Sun.h"

#include <QGraphicsPathItem>
#include <QGraphicsPixmapItem>
#include <QGraphicsScene>

#include <gtest/gtest.h>

#include <memory>

namespace
{
constexpr double Half = 127 / 255.0;

// Floor at 9 m; the player at 2 m; half dark, one light of 1 m at (10 m, 5 m).
const QByteArray DarkLevel = SceneLevel(R"(
  <start x="2" y="9"/>
  <ground><region x="0" y="9" width="30" height="1"/></ground>
  <illumination darkness-level="0.5"><light-source x="10" y="5" radius="1"/></illumination>
)");

const QByteArray LitLevel = SceneLevel(R"(
  <start x="2" y="9"/>
  <ground><region x="0" y="9" width="30" height="1"/></ground>
)");

// A level whose player starts inside a finish area that asks for darkness
// between min and max at (10 m, 5 m).
QByteArray FinishInTheDark(const QByteArray& illumination, const char* min, const char* max)
{
  return SceneLevel(QByteArray(R"(
  <start x="2" y="9"/>
  <ground><region x="0" y="9" width="30" height="1"/></ground>
  <finish><area x="0" y="6" width="5" height="4" next-level="after" message="Out">
    <conditions><darkness-level x="10" y="5" min=")") +
                    min + "\" max=\"" + max + R"("/></conditions></area></finish>
  )" + illumination);
}

// An object of \a name whose description gives light of \a radiusM, at \a pos (pixels).
Object* addObject(Scene& scene, const QString& name, const QPointF& pos, double radiusM = 0)
{
  QPainterPath path;
  path.addEllipse(QPointF(0, 0), 20, 20);
  auto* item = scene.addPath(path, DrawingPen);
  item->setPos(pos);
  Object* object = Object::Create(name);
  LightSourceInfo light;
  light.lightSource = radiusM > 0;
  light.radius = radiusM;
  object->Init(&scene, item, new PathFixtureCreator(path), scene.GetMaterials()->Get("wood"), GrabableInfo(),
               UsableInfo(), QSizeF(-1, -1), ObjectSoundsInfo(), light, false);
  scene.AddObject(object, false);
  return object;
}

double darknessAt(Scene& scene, const QPointF& pos)
{
  return scene.GetDarknessLayer()->GetDarknessLevel(pos);
}
} // namespace

TEST(DarknessTest, ADarkLevelIsBlackAtItsLevelEverywhereButUnderItsLights)
{
  SceneFixture f;
  f.Build(DarkLevel);
  DarknessLayer* darkness = f.scene().GetDarknessLayer();
  ASSERT_NE(darkness, nullptr);
  EXPECT_DOUBLE_EQ(f.scene().GetGlobalDarknessLevel(), Half);
  EXPECT_EQ(darkness->GetStaticLightCount(), 1);
  // The whole scene is covered, above the stickmen and the foregrounds, below the drawings.
  EXPECT_EQ(darkness->GetImage().size(), QSize(3000, 1000));
  EXPECT_EQ(QColor::fromRgba(darkness->GetImage().pixel(2900, 50)), QColor(0, 0, 0, 127));
  int layers = 0;
  for (QGraphicsItem* item : f.scene().items())
    if (item->zValue() == bv::DarknessLayerZValue && dynamic_cast<QGraphicsPixmapItem*>(item))
      ++layers;
  EXPECT_EQ(layers, 1);
  EXPECT_LT(bv::StickmanZValue, bv::DarknessLayerZValue);
  EXPECT_LT(bv::ForegroundLayersZValue, bv::DarknessLayerZValue);
  EXPECT_LT(bv::DarknessLayerZValue, bv::DrawingZValue);
  // A pencil that shows in the dark.
  EXPECT_EQ(DrawingPen.color(), QColor(Qt::gray));

  // The light's radius of 1 m is 100 px: clear at its centre, closing towards its rim.
  const QPointF light(1000, 500);
  EXPECT_EQ(darknessAt(f.scene(), light), 0);
  double previous = 0;
  for (int dx : {20, 50, 80, 99})
  {
    const double here = darknessAt(f.scene(), light + QPointF(dx, 0));
    EXPECT_GT(here, previous) << dx;
    previous = here;
  }
  EXPECT_LT(previous, Half);
  EXPECT_DOUBLE_EQ(darknessAt(f.scene(), light + QPointF(0, 101)), Half);
  EXPECT_DOUBLE_EQ(darknessAt(f.scene(), light + QPointF(-72, -72)), Half);
  EXPECT_DOUBLE_EQ(darknessAt(f.scene(), QPointF(200, 800)), Half);

  // Ticks redraw it the same.
  f.Tick(3);
  EXPECT_EQ(darknessAt(f.scene(), light), 0);
  EXPECT_DOUBLE_EQ(darknessAt(f.scene(), QPointF(200, 800)), Half);
}

TEST(DarknessTest, TheGlobalLevelIsClampedAndALitSceneDarkensOnlyWhenAskedForDarkness)
{
  SceneFixture f;
  f.Build(DarkLevel);
  DarknessLayer* darkness = f.scene().GetDarknessLayer();
  darkness->SetGlobalDarknessLevele(1.7);
  EXPECT_EQ(darkness->GetGlobalDarknessLevel(), 1.0);
  EXPECT_EQ(darkness->GetDarknessLevel(QPointF(200, 800)), 1.0);
  EXPECT_EQ(darkness->GetDarknessLevel(QPointF(1000, 500)), 0);
  darkness->SetGlobalDarknessLevele(-1);
  EXPECT_EQ(darkness->GetGlobalDarknessLevel(), 0);
  EXPECT_EQ(darkness->GetDarknessLevel(QPointF(200, 800)), 0);
  f.scene().SetGlobalDarknessLevel(0.5);
  EXPECT_DOUBLE_EQ(f.scene().GetGlobalDarknessLevel(), Half);
  // Outside the scene nothing is drawn.
  EXPECT_EQ(darkness->GetDarknessLevel(QPointF(-5, 800)), 0);
  EXPECT_EQ(darkness->GetDarknessLevel(QPointF(3000, 800)), 0);

  SceneFixture lit;
  lit.Build(LitLevel);
  EXPECT_EQ(lit.scene().GetDarknessLayer(), nullptr);
  EXPECT_EQ(lit.scene().GetGlobalDarknessLevel(), 0);
  EXPECT_EQ(DrawingPen.color(), QColor(Qt::black));
  lit.scene().SetGlobalDarknessLevel(0);
  EXPECT_EQ(lit.scene().GetDarknessLayer(), nullptr);
  // A fade to black brings darkness into a lit level.
  lit.scene().SetGlobalDarknessLevel(0.25);
  ASSERT_NE(lit.scene().GetDarknessLayer(), nullptr);
  EXPECT_DOUBLE_EQ(lit.scene().GetGlobalDarknessLevel(), 63 / 255.0);
  EXPECT_DOUBLE_EQ(lit.scene().GetDarknessLayer()->GetDarknessLevel(QPointF(200, 800)), 63 / 255.0);
}

TEST(DarknessTest, ALevelDarkerThanDarkIsAsDarkAsItGetsAndTheNextLevelStartsWithoutIt)
{
  SceneFixture f;
  f.Build(SceneLevel(R"(
    <start x="2" y="9"/>
    <ground><region x="0" y="9" width="30" height="1"/></ground>
    <illumination darkness-level="1.5"><light-source x="10" y="5" radius="100000"/></illumination>
  )"));
  ASSERT_NE(f.scene().GetDarknessLayer(), nullptr);
  EXPECT_EQ(f.scene().GetGlobalDarknessLevel(), 1.0);
  // A light larger than any screen is drawn at the largest radius there is.
  EXPECT_EQ(darknessAt(f.scene(), QPointF(1000, 500)), 0);
  EXPECT_LT(darknessAt(f.scene(), QPointF(2900, 500)), 1.0);
  std::unique_ptr<LightSource> huge(CreateStaticLightSource(QPointF(), 1e7));
  EXPECT_EQ(huge->GetRadius(), MaxLightRadiusPx);

  f.Build(LitLevel);
  EXPECT_EQ(f.scene().GetDarknessLayer(), nullptr);
  for (QGraphicsItem* item : f.scene().items())
    EXPECT_NE(item->zValue(), bv::DarknessLayerZValue);
}

TEST(DarknessTest, AnObjectsLightFollowsItAndGoesWithIt)
{
  SceneFixture f;
  f.Build(DarkLevel);
  DarknessLayer* darkness = f.scene().GetDarknessLayer();
  // A description without light brings none.
  addObject(f.scene(), "stick", QPointF(500, 300));
  EXPECT_EQ(darkness->GetDynamicLightCount(), 0);

  Object* lamp = addObject(f.scene(), "lamp", QPointF(2000, 300), 2.5);
  EXPECT_EQ(darkness->GetDynamicLightCount(), 1);
  f.Tick();
  EXPECT_EQ(darknessAt(f.scene(), QPointF(2000, 300)), 0);
  // 2.5 m is 250 px.
  EXPECT_LT(darknessAt(f.scene(), QPointF(2240, 300)), Half);
  EXPECT_DOUBLE_EQ(darknessAt(f.scene(), QPointF(2260, 300)), Half);

  lamp->Move(-400, 0);
  f.Tick();
  EXPECT_EQ(darknessAt(f.scene(), QPointF(1600, 300)), 0);
  EXPECT_DOUBLE_EQ(darknessAt(f.scene(), QPointF(2000, 300)), Half);

  // A second light for the same object replaces the first.
  darkness->AddDynamicLightSource(50, lamp);
  f.Tick();
  EXPECT_EQ(darkness->GetDynamicLightCount(), 1);
  EXPECT_DOUBLE_EQ(darknessAt(f.scene(), QPointF(1600, 360)), Half);

  f.scene().VanishObject(lamp);
  EXPECT_EQ(darkness->GetDynamicLightCount(), 0);
  f.Tick();
  EXPECT_DOUBLE_EQ(darknessAt(f.scene(), QPointF(1600, 300)), Half);
}

// Only the pixels under lights that came, went or moved are drawn again: the
// picture must be the one a whole redraw gives.
TEST(DarknessTest, RedrawingWhereLightsChangedGivesTheWholeRedrawsPicture)
{
  SceneFixture f;
  f.Build(DarkLevel);
  DarknessLayer* darkness = f.scene().GetDarknessLayer();
  Object* near = addObject(f.scene(), "lamp", QPointF(1050, 520), 2.5);
  addObject(f.scene(), "lamp", QPointF(2200, 400), 2.5);
  Object* twin = addObject(f.scene(), "lamp", QPointF(2200, 400), 2.5);
  f.Tick();
  near->Move(130, -40);
  f.scene().VanishObject(twin);
  f.Tick();

  QGraphicsScene same(f.scene().sceneRect());
  DarknessLayer whole;
  whole.Init(&same, 0.5);
  whole.AddStaticLightSource(100, QPointF(1000, 500));
  whole.AddStaticLightSource(250, QPointF(1180, 480));
  whole.AddStaticLightSource(250, QPointF(2200, 400));
  whole.Update();
  EXPECT_EQ(darkness->GetImage(), whole.GetImage());
  // The item shows what the layer measures.
  QGraphicsPixmapItem* item = nullptr;
  for (QGraphicsItem* candidate : f.scene().items())
    if (candidate->zValue() == bv::DarknessLayerZValue)
      item = dynamic_cast<QGraphicsPixmapItem*>(candidate);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->pixmap().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied), whole.GetImage());
}

TEST(DarknessTest, ALightWhoseObjectWasDeletedShinesNoMore)
{
  SceneFixture f;
  f.Build(DarkLevel);
  QGraphicsScene pictures;
  auto* item = pictures.addEllipse(-10, -10, 20, 20);
  item->setPos(1500, 300);
  auto* lamp = new Object("lamp", ObjectCategory::Other, nullptr);
  lamp->Init(nullptr, item, nullptr, Material(), GrabableInfo(), UsableInfo(), QSizeF(-1, -1), ObjectSoundsInfo(),
             LightSourceInfo(), false);
  DarknessLayer* darkness = f.scene().GetDarknessLayer();
  darkness->AddDynamicLightSource(100, lamp);
  darkness->Update();
  EXPECT_EQ(darknessAt(f.scene(), QPointF(1500, 300)), 0);
  delete lamp;
  darkness->Update();
  EXPECT_DOUBLE_EQ(darknessAt(f.scene(), QPointF(1500, 300)), Half);
}

TEST(DarknessTest, TheSunEndsTheDarknessForTheRestOfTheLevel)
{
  SceneFixture f;
  f.Build(DarkLevel);
  Object* sun = addObject(f.scene(), "sun", QPointF(1500, 200), 7);
  EXPECT_NE(dynamic_cast<Sun*>(sun), nullptr);
  EXPECT_EQ(sun->GetCategory(), ObjectCategory::Sun);
  EXPECT_EQ(f.scene().GetDarknessLayer(), nullptr);
  EXPECT_EQ(f.scene().GetGlobalDarknessLevel(), 0);
  EXPECT_EQ(DrawingPen.color(), QColor(Qt::black));
  f.Tick(5);
  EXPECT_EQ(f.scene().GetDarknessLayer(), nullptr);
  for (QGraphicsItem* item : f.scene().items())
    EXPECT_NE(item->zValue(), bv::DarknessLayerZValue);
  // A lamp drawn afterwards lights nothing: there is nothing left to light.
  addObject(f.scene(), "lamp", QPointF(800, 300), 2.5);
  f.Tick();
  EXPECT_EQ(f.scene().GetDarknessLayer(), nullptr);
}

TEST(DarknessTest, AFinishAreaWaitingForDarknessReadsItWhereTheLevelSays)
{
  const QByteArray dark = R"(<illumination darkness-level="0.9"/>)";
  const QByteArray lit = R"(<illumination darkness-level="0.9"><light-source x="10" y="5" radius="1"/></illumination>)";
  struct Case
  {
    QByteArray illumination;
    const char* min;
    const char* max;
    bool finishes;
  };
  const Case cases[] = {
    {dark, "0.8", "1", true},   {dark, "0", "0.5", false},   {lit, "0", "0.1", true},
    {lit, "0.5", "1", false},   {QByteArray(), "0.5", "1", false}, {QByteArray(), "0", "0.5", true},
  };
  for (const Case& c : cases)
  {
    SceneFixture f;
    f.Build(FinishInTheDark(c.illumination, c.min, c.max));
    EXPECT_EQ(f.scene().GetFinishAreaReached() != nullptr, c.finishes)
      << c.illumination.toStdString() << " " << c.min << ".." << c.max;
  }
}

TEST(DarknessTest, TheSunDrawnInTheDarkOpensAFinishAreaThatWaitsForLight)
{
  SceneFixture f;
  f.Build(FinishInTheDark(R"(<illumination darkness-level="0.9"/>)", "0", "0.2"));
  EXPECT_EQ(f.scene().GetFinishAreaReached(), nullptr);
  emit f.player()->moved(f.player()->pos());
  EXPECT_EQ(f.scene().GetFinishAreaReached(), nullptr);

  // A lamp carried to the point lights it as well as the sun would.
  addObject(f.scene(), "lamp", QPointF(1000, 500), 2.5);
  f.Tick();
  emit f.player()->moved(f.player()->pos());
  EXPECT_NE(f.scene().GetFinishAreaReached(), nullptr);

  f.Build(FinishInTheDark(R"(<illumination darkness-level="0.9"/>)", "0", "0.2"));
  addObject(f.scene(), "sun", QPointF(1500, 100), 7);
  emit f.player()->moved(f.player()->pos());
  EXPECT_NE(f.scene().GetFinishAreaReached(), nullptr);
}
