#pragma once

#include <QPainterPath>
#include <QPolygonF>

class b2Body;
struct Material;

/// Gives a body its fixtures. Coordinates are multiplied by the scale given to
/// Run (the caller's pixels-to-metres factor). Owned by whoever created it.
class FixtureCreator
{
public:
  virtual ~FixtureCreator() = default;
  /// Creates the fixtures on the body; call it once per body, outside a world step.
  virtual void Run(const Material& material, double scale, b2Body* body) = 0;
};

/// One box of width × height centred on the body's origin.
class RectFixtureCreator : public FixtureCreator
{
public:
  RectFixtureCreator(double width, double height);
  void Run(const Material& material, double scale, b2Body* body) override;

private:
  double m_width;
  double m_height;
};

/// One convex polygon, given in world coordinates (the body's position is
/// subtracted): the hull of all the vertices, reduced to Box2D's eight by
/// dropping the vertices that add the least area.
class PolygonFixtureCreator : public FixtureCreator
{
public:
  explicit PolygonFixtureCreator(const QPolygonF& polygon);
  void Run(const Material& material, double scale, b2Body* body) override;

private:
  QPolygonF m_polygon;
};

/// A drawn stroke as a chain of thin boxes in body coordinates, one per stretch
/// longer than bv::ApproximationBoxMinLength (shorter ones merge into the next)
/// plus one for the final stretch.
class PathFixtureCreator : public FixtureCreator
{
public:
  explicit PathFixtureCreator(const QPainterPath& path);
  void Run(const Material& material, double scale, b2Body* body) override;

private:
  QPainterPath m_path;
};
