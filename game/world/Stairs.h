#pragma once

#include "common/Direction.h"

#include <QList>
#include <QPolygonF>

class QGraphicsPathItem;
class Scene;
struct Material;

/// Builds drawn stairs as regular flat steps: a static body with one thin box
/// per tread, and a picture of the drawn treads and risers fitted to the steps.
/// \a horizontalLines and \a verticalLines (treads and risers, bottom first) are
/// in \a drawing's item coordinates; \a direction is the side the stairs rise
/// to. Deletes \a drawing; the world and the graphics scene own what is built.
void CreateStairs(const QList<QPolygonF>& horizontalLines, const QList<QPolygonF>& verticalLines, Direction direction,
                  QGraphicsPathItem* drawing, const Material& material, Scene* scene);
