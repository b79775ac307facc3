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
  /// Creates the fixtures on the body; call it once per body, outside a world
  /// step. With \a mirrored the fixtures are the mirror (x -> -x about the body's
  /// origin) of the ones made without it: the body of a picture facing left.
  virtual void Run(const Material& material, double scale, b2Body* body, bool mirrored) = 0;
};

/// One box of width × height centred on the body's origin (its own mirror).
class RectFixtureCreator : public FixtureCreator
{
public:
  RectFixtureCreator(double width, double height);
  void Run(const Material& material, double scale, b2Body* body, bool mirrored) override;

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
  void Run(const Material& material, double scale, b2Body* body, bool mirrored) override;

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
  void Run(const Material& material, double scale, b2Body* body, bool mirrored) override;

private:
  QPainterPath m_path;
};
