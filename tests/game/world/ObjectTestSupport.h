#pragma once

#include "SceneTestSupport.h"

#include <QGraphicsPathItem>
#include <QList>
#include <QPolygonF>

class QPainter;

#include <gtest/gtest.h>

#include <memory>

class Object;
class ObjectCreator;

/// A running scene on flat ground whose top is at GroundTopPx, the player
/// standing on it at x = 300 px.
class SceneTest : public ::testing::Test
{
protected:
  static constexpr double GroundTopPx = 600;

  void SetUp() override;

  /// Advances the scene by \a ticks ticks of 16 ms.
  void tick(int ticks);
  /// An object of a straight stroke \a widthPx wide, centred on its origin, at \a pos.
  Object* addStroke(const QPointF& pos, double widthPx, const QSizeF& maximumSize, bool tangible = true,
                    const QString& name = "stick");
  /// A grabbable, usable object whose picture and body are \a path drawn with
  /// \a pen, at \a pos.
  Object* addPicture(const QPointF& pos, const QPainterPath& path, const QSizeF& maximumSize, bool tangible,
                     const QString& name, const QPen& pen);
  /// The strokes drawn through the creator's slots, as the input handler does.
  void draw(ObjectCreator& creator, const QList<QPolygonF>& strokes);

  SceneFixture fixture;
  Scene* scene = nullptr;
};

/// The farthest the centre of one of the object's fixtures lies from its
/// stroke as shown, pixels: a few pixels when the body lies where the picture is.
double BodyOffPicturePx(const Object* object);

/// Outlines the fixtures of the object's body in red, scene pixels.
void PaintBody(QPainter& painter, const Object* object);

/// Strokes placed so that their bounding box has its bottom centre at \a bottomCentre.
QList<QPolygonF> PlaceStrokes(const QList<QPolygonF>& strokes, const QPointF& bottomCentre);

/// The first generated reference of the object \a name pointing \a direction
/// (none for an empty one), as a player draws it: \a sizePx large, points 8 px apart.
QList<QPolygonF> Reference(const QString& name, const QString& direction, double sizePx);
