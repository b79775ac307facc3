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

void createFixture(const b2Shape& shape, const Material& material, b2Body* body)
{
  b2FixtureDef fixtureDef;
  fixtureDef.shape = &shape;
  material.ApplyTo(fixtureDef);
  body->CreateFixture(&fixtureDef);
}
} // namespace

RectFixtureCreator::RectFixtureCreator(double width, double height) : m_width(width), m_height(height) {}

void RectFixtureCreator::Run(const Material& material, double scale, b2Body* body)
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

void PolygonFixtureCreator::Run(const Material& material, double scale, b2Body* body)
{
  if (m_polygon.isEmpty())
    return;
  if (m_polygon.size() > b2_maxPolygonVertices)
    qCWarning(lcFixtures) << "A polygon of" << m_polygon.size() << "vertices keeps its first"
                          << b2_maxPolygonVertices;
  const int count = std::min<int>(m_polygon.size(), b2_maxPolygonVertices);
  b2Vec2 vertices[b2_maxPolygonVertices];
  for (int i = 0; i < count; ++i)
    vertices[i] = Point2Vec(m_polygon[i] * scale) - body->GetPosition();
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

void PathFixtureCreator::Run(const Material& material, double scale, b2Body* body)
{
  const float halfHeight = static_cast<float>(bv::ApproximationBoxHeight / 2);
  for (const QPolygonF& polygon : m_path.toSubpathPolygons())
  {
    if (polygon.size() < 2)
      continue;
    b2Vec2 start = Point2Vec(polygon.first() * scale);
    for (int i = 1; i < polygon.size(); ++i)
    {
      const b2Vec2 end = Point2Vec(polygon[i] * scale);
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
