#include "world/FixtureCreators.h"

#include "common/Material.h"

#include <box2d/b2_body.h>
#include <box2d/b2_fixture.h>
#include <box2d/b2_polygon_shape.h>
#include <box2d/b2_world.h>

#include <QLoggingCategory>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{
// A box as SetAsBox makes it: vertices (-hx,-hy), (hx,-hy), (hx,hy), (-hx,hy) turned and moved.
struct Box
{
  double length;
  double height;
  double angle;
  b2Vec2 centre;
};

class FixtureCreators : public testing::Test
{
protected:
  FixtureCreators() : m_world(b2Vec2(0, 10))
  {
    b2BodyDef definition;
    definition.type = b2_dynamicBody;
    definition.position.Set(2, 3);
    m_body = m_world.CreateBody(&definition);
    QLoggingCategory::setFilterRules("bv.world.warning=false");
  }
  ~FixtureCreators() override { QLoggingCategory::setFilterRules(QString()); }

  // The body's polygons in the order they were created.
  std::vector<const b2PolygonShape*> polygons() const
  {
    std::vector<const b2PolygonShape*> result;
    for (const b2Fixture* fixture = m_body->GetFixtureList(); fixture; fixture = fixture->GetNext())
      result.insert(result.begin(), static_cast<const b2PolygonShape*>(fixture->GetShape()));
    return result;
  }

  std::vector<Box> boxes() const
  {
    std::vector<Box> result;
    for (const b2PolygonShape* shape : polygons())
    {
      EXPECT_EQ(shape->m_count, 4);
      const b2Vec2* v = shape->m_vertices;
      const b2Vec2 side = v[1] - v[0];
      result.push_back({side.Length(), (v[3] - v[0]).Length(), std::atan2(side.y, side.x), shape->m_centroid});
    }
    return result;
  }

  b2World m_world;
  b2Body* m_body;
  const Material m_material{0.4, 0.3, 2.0};
};

QPolygonF polygon(std::initializer_list<QPointF> points) { return QVector<QPointF>(points); }

QPainterPath stroke(const QPolygonF& points)
{
  QPainterPath path;
  path.addPolygon(points);
  return path;
}

QPainterPath stroke(std::initializer_list<QPointF> points) { return stroke(polygon(points)); }

constexpr float Tolerance = 1e-5f;
} // namespace

TEST_F(FixtureCreators, RectangleIsOneScaledBoxAroundTheOriginWithTheMaterial)
{
  RectFixtureCreator(300, 50).Run(m_material, 0.01, m_body, false);
  const std::vector<Box> made = boxes();
  ASSERT_EQ(made.size(), 1u);
  EXPECT_NEAR(made[0].length, 3.0, Tolerance);
  EXPECT_NEAR(made[0].height, 0.5, Tolerance);
  EXPECT_NEAR(made[0].angle, 0, Tolerance);
  EXPECT_NEAR(made[0].centre.Length(), 0, Tolerance);
  const b2Fixture* fixture = m_body->GetFixtureList();
  EXPECT_FLOAT_EQ(fixture->GetFriction(), 0.4f);
  EXPECT_FLOAT_EQ(fixture->GetRestitution(), 0.3f);
  EXPECT_FLOAT_EQ(fixture->GetDensity(), 2.0f);
  EXPECT_FALSE(fixture->IsSensor());
  EXPECT_EQ(fixture->GetFilterData().categoryBits, 1);
  EXPECT_EQ(fixture->GetFilterData().maskBits, 0xFFFF);
  EXPECT_NEAR(m_body->GetMass(), 3.0 * 0.5 * 2.0, 1e-4);
}

TEST_F(FixtureCreators, RectangleWithoutAreaMakesNoFixture)
{
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double infinity = std::numeric_limits<double>::infinity();
  for (const auto& size : {std::pair{0.0, 10.0}, {10.0, -1.0}, {10.0, 0.1}, {nan, 10.0}, {10.0, infinity}})
    RectFixtureCreator(size.first, size.second).Run(m_material, 0.01, m_body, false);
  RectFixtureCreator(10, 10).Run(m_material, 0, m_body, false);
  EXPECT_EQ(m_body->GetFixtureList(), nullptr);
  m_world.Step(0.016f, 8, 3);
  EXPECT_TRUE(m_body->GetPosition().IsValid());
}

TEST_F(FixtureCreators, PolygonIsTheHullInBodyCoordinates)
{
  // World coordinates in pixels around the body at (2, 3) m; the inner vertex is not on the hull.
  const QPolygonF square = polygon({{150, 250}, {250, 250}, {200, 300}, {250, 350}, {150, 350}});
  PolygonFixtureCreator(square).Run(m_material, 0.01, m_body, false);
  const std::vector<const b2PolygonShape*> made = polygons();
  ASSERT_EQ(made.size(), 1u);
  ASSERT_EQ(made[0]->m_count, 4);
  for (int i = 0; i < 4; ++i)
  {
    EXPECT_NEAR(std::fabs(made[0]->m_vertices[i].x), 0.5, Tolerance);
    EXPECT_NEAR(std::fabs(made[0]->m_vertices[i].y), 0.5, Tolerance);
  }
  EXPECT_NEAR(m_body->GetMass(), 1.0 * 2.0, 1e-4);
}

TEST_F(FixtureCreators, PolygonOfManyVerticesIsTheirHullReduced)
{
  // A decagon of radius 1 m around the body: eight of its vertices stay, and
  // its centre of mass stays where it was.
  QPolygonF decagon;
  for (int i = 0; i < 10; ++i)
    decagon << QPointF(200 + 100 * std::cos(i * M_PI / 5), 300 + 100 * std::sin(i * M_PI / 5));
  PolygonFixtureCreator(decagon).Run(m_material, 0.01, m_body, false);
  std::vector<const b2PolygonShape*> made = polygons();
  ASSERT_EQ(made.size(), 1u);
  EXPECT_EQ(made[0]->m_count, 8);
  EXPECT_LT(made[0]->m_centroid.Length(), 0.03);
  const double decagonArea = 10 * 0.5 * std::sin(M_PI / 5);
  EXPECT_GT(m_body->GetMass(), 0.9 * decagonArea * 2.0);

  // Vertices inside come first: the hull is still the outer square.
  m_body->DestroyFixture(m_body->GetFixtureList());
  QPolygonF square;
  for (int i = 0; i < 9; ++i)
    square << QPointF(190 + 2 * i, 300 + (i % 3));
  square << QPointF(150, 250) << QPointF(250, 250) << QPointF(250, 350) << QPointF(150, 350);
  PolygonFixtureCreator(square).Run(m_material, 0.01, m_body, false);
  made = polygons();
  ASSERT_EQ(made.size(), 1u);
  ASSERT_EQ(made[0]->m_count, 4);
  for (int i = 0; i < 4; ++i)
  {
    EXPECT_NEAR(std::fabs(made[0]->m_vertices[i].x), 0.5, Tolerance);
    EXPECT_NEAR(std::fabs(made[0]->m_vertices[i].y), 0.5, Tolerance);
  }
}

TEST_F(FixtureCreators, PolygonWithoutAreaMakesNoFixture)
{
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const QList<QPolygonF> degenerate{
      polygon({}),
      polygon({{0, 0}}),
      polygon({{0, 0}, {100, 0}}),
      polygon({{0, 0}, {100, 0}, {200, 0}, {300, 0}}),
      polygon({{0, 0}, {100, 0}, {50, 0.5}}),
      polygon({{0, 0}, {0.2, 0}, {0, 0.2}}),
      polygon({{0, 0}, {100, 0}, {nan, 100}}),
      polygon({{0, 0}, {100, 0}, {0, 1e40}}),
  };
  for (const QPolygonF& polygon : degenerate)
    PolygonFixtureCreator(polygon).Run(m_material, 0.01, m_body, false);
  EXPECT_EQ(m_body->GetFixtureList(), nullptr);

  // Thin but not too thin: 2 cm high.
  PolygonFixtureCreator(polygon({{0, 0}, {100, 0}, {50, 2}})).Run(m_material, 0.01, m_body, false);
  EXPECT_EQ(polygons().size(), 1u);
}

TEST_F(FixtureCreators, StrokeMergesShortStepsAndAlwaysEndsWithABox)
{
  // Collinear points 0.06 m apart: every box spans two steps (0.12 m > 0.1 m)
  // and the odd last step gets a box of its own.
  QPolygonF points;
  for (int i = 0; i < 6; ++i)
    points << QPointF(6 * i, 0);
  PathFixtureCreator(stroke(points)).Run(m_material, 0.01, m_body, false);
  const std::vector<Box> made = boxes();
  ASSERT_EQ(made.size(), 3u);
  const double lengths[] = {0.12, 0.12, 0.06};
  const double centres[] = {0.06, 0.18, 0.27};
  for (int i = 0; i < 3; ++i)
  {
    EXPECT_NEAR(made[i].length, lengths[i], Tolerance) << "box " << i;
    EXPECT_NEAR(made[i].height, 0.05, Tolerance) << "box " << i;
    EXPECT_NEAR(made[i].angle, 0, Tolerance) << "box " << i;
    EXPECT_NEAR(made[i].centre.x, centres[i], Tolerance) << "box " << i;
    EXPECT_NEAR(made[i].centre.y, 0, Tolerance) << "box " << i;
  }
}

TEST_F(FixtureCreators, StrokeBoxesFollowEachSubpathInBodyCoordinates)
{
  QPainterPath path = stroke({{0, 0}, {30, 40}, {30, 100}});
  path.moveTo(500, 500); // a lone point: no box
  path.addPolygon(polygon({{-100, 0}, {-100, -100}}));
  PathFixtureCreator(path).Run(m_material, 0.01, m_body, false);
  const std::vector<Box> made = boxes();
  ASSERT_EQ(made.size(), 3u);
  EXPECT_NEAR(made[0].length, 0.5, Tolerance);
  EXPECT_NEAR(made[0].angle, std::atan2(0.4, 0.3), Tolerance);
  EXPECT_NEAR(made[0].centre.x, 0.15, Tolerance);
  EXPECT_NEAR(made[0].centre.y, 0.2, Tolerance);
  EXPECT_NEAR(made[1].length, 0.6, Tolerance);
  EXPECT_NEAR(made[1].angle, M_PI / 2, Tolerance);
  EXPECT_NEAR(made[2].length, 1.0, Tolerance);
  EXPECT_NEAR(made[2].angle, -M_PI / 2, Tolerance);
  EXPECT_NEAR(made[2].centre.x, -1.0, Tolerance);
  EXPECT_NEAR(made[2].centre.y, -0.5, Tolerance);
}

TEST_F(FixtureCreators, StrokeWithoutLengthMakesNoBox)
{
  PathFixtureCreator(stroke({{10, 10}})).Run(m_material, 0.01, m_body, false);
  PathFixtureCreator(stroke({{10, 10}, {10, 10}})).Run(m_material, 0.01, m_body, false);
  PathFixtureCreator(stroke({{10, 10}, {10 + 1e-9, 10}})).Run(m_material, 0.01, m_body, false);
  EXPECT_EQ(m_body->GetFixtureList(), nullptr);

  // A last stretch shorter than Box2D's tolerance (1 mm) adds nothing to a
  // stroke that already has a box.
  PathFixtureCreator(stroke({{0, 0}, {50, 0}, {50.1, 0}})).Run(m_material, 0.01, m_body, false);
  const std::vector<Box> made = boxes();
  ASSERT_EQ(made.size(), 1u);
  EXPECT_NEAR(made[0].length, 0.5, Tolerance);
  m_world.Step(0.016f, 8, 3);
  EXPECT_TRUE(m_body->GetPosition().IsValid());
}

TEST_F(FixtureCreators, MirroredFixturesAreTheMirrorImageAndValidForBox2D)
{
  // An axe-like stroke (a long handle, a blade at one end) and a lopsided
  // polygon around the body at (2, 3) m: mirrored, each shape's extent and
  // centroid flip about the body's origin, winding stays counter-clockwise and
  // the mass is unchanged.
  const QPainterPath axe = stroke({{-80, 0}, {60, 0}, {70, -30}, {90, -30}, {90, 20}, {70, 20}, {60, 0}});
  const QPolygonF lopsided = polygon({{150, 250}, {280, 270}, {260, 340}, {170, 320}});
  const auto make = [&](bool mirrored, bool path) {
    while (b2Fixture* fixture = m_body->GetFixtureList())
      m_body->DestroyFixture(fixture);
    if (path)
      PathFixtureCreator(axe).Run(m_material, 0.01, m_body, mirrored);
    else
      PolygonFixtureCreator(lopsided).Run(m_material, 0.01, m_body, mirrored);
    std::vector<std::pair<b2AABB, b2Vec2>> shapes;
    for (const b2PolygonShape* shape : polygons())
    {
      EXPECT_TRUE(shape->Validate());
      float twiceArea = 0;
      for (int i = 0; i < shape->m_count; ++i)
        twiceArea += b2Cross(shape->m_vertices[i], shape->m_vertices[(i + 1) % shape->m_count]);
      EXPECT_GT(twiceArea, 0) << "counter-clockwise";
      b2AABB box;
      shape->ComputeAABB(&box, b2Transform(b2Vec2_zero, b2Rot(0)), 0);
      shapes.emplace_back(box, shape->m_centroid);
    }
    return std::make_pair(shapes, m_body->GetMass());
  };
  for (const bool path : {true, false})
  {
    const auto [right, rightMass] = make(false, path);
    const auto [left, leftMass] = make(true, path);
    ASSERT_EQ(left.size(), right.size());
    ASSERT_FALSE(right.empty());
    EXPECT_NEAR(leftMass, rightMass, 1e-5);
    for (size_t i = 0; i < right.size(); ++i)
    {
      EXPECT_NEAR(left[i].first.lowerBound.x, -right[i].first.upperBound.x, Tolerance) << i;
      EXPECT_NEAR(left[i].first.upperBound.x, -right[i].first.lowerBound.x, Tolerance) << i;
      EXPECT_NEAR(left[i].first.lowerBound.y, right[i].first.lowerBound.y, Tolerance) << i;
      EXPECT_NEAR(left[i].first.upperBound.y, right[i].first.upperBound.y, Tolerance) << i;
      EXPECT_NEAR(left[i].second.x, -right[i].second.x, Tolerance) << i;
      EXPECT_NEAR(left[i].second.y, right[i].second.y, Tolerance) << i;
    }
    // The drawing is lopsided, so its mirror is not itself.
    EXPECT_GT(std::fabs(right.front().second.x + right.back().second.x), 0.1);
  }
  m_world.Step(0.016f, 8, 3);
  EXPECT_TRUE(m_body->GetPosition().IsValid());
}
