#pragma once

#include "common/Direction.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QPointF>
#include <QString>

class b2Body;
class b2World;
class QGraphicsItem;

/// The physical body that replaces a dead stickman: one Box2D body per
/// drawing primitive, joined by limited revolute joints, drawn by its own
/// graphics items that follow the bodies.
class Ragdoll : public QObject
{
  Q_OBJECT

public:
  /// One revolute joint between two primitives, read from the stickman file.
  struct JointInfo
  {
    QString elementA;
    QString elementB;
    QString anchor;
    /// Radians, for the figure facing right.
    double lowerLimit = 0;
    double upperLimit = 0;
  };

  /// The body and pictures of one primitive.
  struct Element
  {
    /// Owned by the ragdoll, destroyed through its world.
    b2Body* body = nullptr;
    /// Owned by the ragdoll; they live in the stickman's scene.
    QList<QGraphicsItem*> graphicsItems;
    /// Joint name -> where that joint lies in the body's frame, metres.
    QMap<QString, QPointF> anchors;
  };

  explicit Ragdoll(QObject* parent);
  ~Ragdoll() override;

  /// Takes ownership of the elements' bodies and items; \a world must outlive
  /// the ragdoll. Limits are mirrored when \a direction is Left.
  void Init(const QMap<QString, Element>& elements, const QList<JointInfo>& joints, Direction direction,
            b2World* world);
  /// Null when no element has that name.
  const Element* FindElementByName(const QString& name) const;
  /// Every element by name.
  const QMap<QString, Element>& GetElements() const { return m_elements; }
  /// Moves the pictures to their bodies; call after every world step.
  void Advance();

private:
  void createJoints(const QList<JointInfo>& joints, Direction direction);

  QMap<QString, Element> m_elements;
  b2World* m_world = nullptr;
};
