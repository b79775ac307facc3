#pragma once

#include "common/Direction.h"
#include "stickman/Ragdoll.h"

#include <QColor>
#include <QList>
#include <QMap>
#include <QString>

class b2Body;
class b2World;
class QGraphicsItem;
class QXmlStreamWriter;
class Stickman;
struct Joint;
struct Material;

/// A visible part of a stickman stretched between its joints: a thick line
/// (a limb) or a filled circle (the head). Owned by its stickman; it owns its
/// two graphics items (a main item and an outline drawn just below it).
class DrawingPrimitive
{
public:
  virtual ~DrawingPrimitive();

  /// Re-lays the items out from the joints' current positions and moves the
  /// collision body, if any.
  virtual void Update() = 0;
  /// The main item, then the outline item.
  virtual QList<QGraphicsItem*> GetGraphicsItems() const = 0;
  virtual QString GetName() const = 0;
  /// Every reference to \a a becomes \a b and every reference to \a b becomes \a a.
  virtual void SwapJoints(Joint* a, Joint* b) = 0;
  virtual void Save(QXmlStreamWriter& writer) const = 0;
  virtual void SetColor(const QColor& color) = 0;
  virtual QColor GetColor() const = 0;
  /// The main item gets \a z, the outline item \a z - 0.1.
  virtual void SetZValue(double z) = 0;
  virtual double GetZValue() const = 0;
  /// Puts the items at Z 0 and -0.1, keeping the stored Z value.
  virtual void Flatten() = 0;
  virtual void RestoreZValue() = 0;
  /// A body of the primitive's current scene shape in \a world, owned by the
  /// caller. A sensor body is static, any other is dynamic and never collides
  /// with another ragdoll part.
  virtual b2Body* CreatePhysicsBody(const Material& material, b2World* world, bool sensor) const = 0;
  /// A body and new pictures (added to the stickman's scene) for a ragdoll.
  virtual Ragdoll::Element CreateRagdollElement(const Material& material, b2World* world,
                                                Direction direction) const = 0;
  /// A static sensor body that follows the primitive, tagged with \a stickman and the primitive.
  virtual void StartCollisionsDetection(b2World* world, Stickman* stickman) = 0;
  virtual void StopCollisionsDetection() = 0;
  /// A new primitive owned by the caller, bound to the mapped joints (a joint
  /// missing from the map becomes null).
  virtual DrawingPrimitive* Translate(const QMap<const Joint*, Joint*>& joints) const = 0;

  /// Null when a joint is null. \a width is a factor of bv::StickmanLimbsWidth.
  static DrawingPrimitive* CreateLine(const QString& name, Joint* from, Joint* to, double width, const QColor& color,
                                      double zValue);
  /// Null when \a center is null. \a radius is in pixels.
  static DrawingPrimitive* CreateCircle(const QString& name, Joint* center, double radius, const QColor& color,
                                        double zValue);
};
