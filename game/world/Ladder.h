#pragma once

#include "Object.h"
#include "common/Material.h"
#include "shapewise/SpecialObjectsDetection.h"

#include <QList>
#include <QObject>
#include <QPolygonF>

class QGraphicsItem;
class Scene;

/// A drawn ladder rebuilt with cleats every bv::LadderCleatsDistance pixels.
/// Fixed where it touches the ground, otherwise a free object that falls.
class Ladder : public QObject
{
  Q_OBJECT

public:
  Ladder();

  /// Builds the ladder from the detector's output, in the drawing's item
  /// coordinates, and deletes \a drawing. Adds itself to the scene, which owns it.
  void Init(const QList<QPolygonF>& leftPlank, const QList<QPolygonF>& rightPlank,
            const shapewise::LadderCleats& cleats, QGraphicsItem* drawing, Scene* scene, const Material& material,
            const ObjectSoundsInfo& sounds);

  /// Turned at most 5 degrees either way.
  bool IsUp() const;
  /// Scene y of cleat \a index; cleat 0 is the lowest.
  double GetCleatY(int index) const;
  /// May be -1 (below the lowest cleat) or beyond the top one.
  int GetClosestCleatIndex(double y) const;
  int GetCleatCount() const;
  /// Null for a ladder fixed on the ground; the scene owns the object.
  Object* GetObject() const;
  QGraphicsItem* GetItem() const;

private:
  Object* createObject() const;

  Object* m_object = nullptr;
  QGraphicsItem* m_item = nullptr;
  Scene* m_scene = nullptr;
  Material m_material;
  ObjectSoundsInfo m_sounds;
  int m_cleatCount = 0;
};
