#include "world/FixtureCreators.h"

#include "common/ConvertUtils.h"
#include "common/GlobalConstants.h"
#include "common/Material.h"

#include <box2d/b2_body.h>
#include <box2d/b2_fixture.h>
#include <box2d/b2_polygon_shape.h>

#include <QLoggingCategory>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

namespace
{
Q_LOGGING_CATEGORY(lcFixtures, "bv.world")

// Box2D aborts on shapes without area (b2PolygonShape::Set and ComputeMass
// assert), so sizes and polygons from data files are checked before they reach
// it: no box edge shorter than Box2D's collision tolerance, no polygon thinner
// than twice that (Set welds vertices closer than half of it), no infinities.
constexpr double MinEdgeM = b2_linearSlop;
constexpr double MinPolygonThicknessM = 2 * b2_linearSlop;

bool isUsableLength(double length) { return std::isfinite(length) && length >= MinEdgeM; }

// True when three of the vertices span a triangle whose smallest height (twice
// its area over its longest side, which also bounds every side from below)
// reaches the minimum thickness.
bool spansArea(const b2Vec2* vertices, int count)
{
  if (!std::all_of(vertices, vertices + count, [](const b2Vec2& vertex) { return vertex.IsValid(); }))
    return false;
  for (int i = 0; i < count; ++i)
    for (int j = i + 1; j < count; ++j)
      for (int k = j + 1; k < count; ++k)
      {
        const b2Vec2 ab = vertices[j] - vertices[i];
        const b2Vec2 ac = vertices[k] - vertices[i];
        const double longest = std::max({ab.Length(), ac.Length(), (vertices[k] - vertices[j]).Length()});
        if (std::fabs(b2Cross(ab, ac)) >= MinPolygonThicknessM * longest && longest > 0)
          return true;
      }
  return false;
}

// The convex hull, counter-clockwise in a y-up frame, by Andrew's monotone
// chain; collinear points are left out.
std::vector<b2Vec2> convexHull(std::vector<b2Vec2> points)
{
  std::sort(points.begin(), points.end(),
            [](const b2Vec2& a, const b2Vec2& b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
  if (points.size() < 3)
    return points;
  std::vector<b2Vec2> hull(2 * points.size());
  size_t count = 0;
  const auto turnsLeft = [&hull, &count](const b2Vec2& next) {
    return b2Cross(hull[count - 1] - hull[count - 2], next - hull[count - 2]) > 0;
  };
  for (const b2Vec2& point : points)
  {
    while (count >= 2 && !turnsLeft(point))
      --count;
    hull[count++] = point;
  }
  const size_t lower = count + 1;
  for (size_t i = points.size() - 1; i-- > 0;)
  {
    while (count >= lower && !turnsLeft(points[i]))
      --count;
    hull[count++] = points[i];
  }
  hull.resize(count - 1);
  return hull;
}

// Drops hull vertices, each time the one whose removal loses the least area,
// until Box2D's limit is met: the shape keeps its extent and its centroid.
void reduceTo(std::vector<b2Vec2>& hull, size_t limit)
{
  while (hull.size() > limit)
  {
    size_t cheapest = 0;
    float smallest = std::numeric_limits<float>::max();
    for (size_t i = 0; i < hull.size(); ++i)
    {
      const b2Vec2& previous = hull[(i + hull.size() - 1) % hull.size()];
      const b2Vec2& next = hull[(i + 1) % hull.size()];
      const float area = std::fabs(b2Cross(hull[i] - previous, next - previous));
      if (area < smallest)
      {
        smallest = area;
        cheapest = i;
      }
    }
    hull.erase(hull.begin() + static_cast<std::ptrdiff_t>(cheapest));
  }
}

b2Vec2 mirroredIf(bool mirrored, const b2Vec2& point)
{
  return mirrored ? b2Vec2(-point.x, point.y) : point;
}

void createFixture(const b2Shape& shape, const Material& material, b2Body* body)
{
  b2FixtureDef fixtureDef;
  fixtureDef.shape = &shape;
  material.ApplyTo(fixtureDef);
  body->CreateFixture(&fixtureDef);
}
} // namespace

RectFixtureCreator::RectFixtureCreator(double width, double height) : m_width(width), m_height(height) {}

void RectFixtureCreator::Run(const Material& material, double scale, b2Body* body, bool)
{
  const double width = m_width * scale;
  const double height = m_height * scale;
  if (!isUsableLength(width) || !isUsableLength(height))
  {
    qCWarning(lcFixtures) << "No fixture for a box of" << width << "x" << height << "m";
    return;
  }
  b2PolygonShape shape;
  shape.SetAsBox(static_cast<float>(width / 2), static_cast<float>(height / 2));
  createFixture(shape, material, body);
}

PolygonFixtureCreator::PolygonFixtureCreator(const QPolygonF& polygon) : m_polygon(polygon) {}

void PolygonFixtureCreator::Run(const Material& material, double scale, b2Body* body, bool mirrored)
{
  if (m_polygon.isEmpty())
    return;
  std::vector<b2Vec2> points;
  for (const QPointF& point : m_polygon)
    points.push_back(mirroredIf(mirrored, Point2Vec(point * scale) - body->GetPosition()));
  // The hull is built counter-clockwise whichever way the mirror turned the points.
  std::vector<b2Vec2> hull;
  if (std::all_of(points.begin(), points.end(), [](const b2Vec2& point) { return point.IsValid(); }))
    hull = convexHull(points);
  if (hull.size() > b2_maxPolygonVertices)
  {
    qCDebug(lcFixtures) << "A polygon whose hull has" << hull.size() << "vertices keeps the" << b2_maxPolygonVertices
                        << "that span the most area";
    reduceTo(hull, b2_maxPolygonVertices);
  }
  const b2Vec2* vertices = hull.data();
  const int count = static_cast<int>(hull.size());
  if (!spansArea(vertices, count))
  {
    qCWarning(lcFixtures) << "No fixture for a polygon without area:" << m_polygon;
    return;
  }
  b2PolygonShape shape;
  shape.Set(vertices, count);
  createFixture(shape, material, body);
}

PathFixtureCreator::PathFixtureCreator(const QPainterPath& path) : m_path(path) {}

void PathFixtureCreator::Run(const Material& material, double scale, b2Body* body, bool mirrored)
{
  const float halfHeight = static_cast<float>(bv::ApproximationBoxHeight / 2);
  for (const QPolygonF& polygon : m_path.toSubpathPolygons())
  {
    if (polygon.size() < 2)
      continue;
    // Boxes are made from the mirrored points, so each comes out counter-clockwise.
    b2Vec2 start = mirroredIf(mirrored, Point2Vec(polygon.first() * scale));
    for (int i = 1; i < polygon.size(); ++i)
    {
      const b2Vec2 end = mirroredIf(mirrored, Point2Vec(polygon[i] * scale));
      const b2Vec2 segment = end - start;
      const float length = segment.Length();
      const bool last = i == polygon.size() - 1;
      if (!(length > bv::ApproximationBoxMinLength || last) || !isUsableLength(length))
        continue;
      b2PolygonShape shape;
      shape.SetAsBox(length / 2, halfHeight, 0.5f * (start + end), std::atan2(segment.y, segment.x));
      createFixture(shape, material, body);
      start = end;
    }
  }
}
