#pragma once

#include "ObjectCategories.h"
#include "common/Direction.h"
#include "common/Material.h"
#include "stickman/Grabable.h"
#include "stickman/Usable.h"

#include <QObject>
#include <QPointF>
#include <QRectF>
#include <QSet>
#include <QSizeF>
#include <QString>

class Animation;
class Door;
class DrawingPrimitive;
class FixtureCreator;
class QGraphicsItem;
class Scene;
class Stickman;
class b2Body;

/// Where a hand grips an object, as fractions of the item's bounding rectangle;
/// each coordinate is a multiple of the rectangle's width or height.
struct HoldingPointLocation
{
  enum MeasurementUnit : int
  {
    Width = 0,
    Height = 1
  };

  double x = 0;
  double y = 0;
  MeasurementUnit xUnit = Width;
  MeasurementUnit yUnit = Height;
};

struct GrabableInfo
{
  bool grabable = false;
  HoldingPointLocation holdingPoint;
  /// Between the holding arm and the object's own axis, radians.
  double angle = 0;
  /// The direction in which the object's reference drawings point.
  Direction defaultDirection = Right;
};

struct UsableInfo
{
  bool usable = false;
  /// The stickman animation that uses the object; null when there is none.
  QString animation;
};

/// Sound types of Sound::NameTypeConverter; -1 means no sound.
struct ObjectSoundsInfo
{
  ObjectSoundsInfo(int bounce = -1, int special = -1, int engine = -1, double bounceGain = 1.0);

  int bounceSound;
  int specialSound;
  int engineSound;
  double bounceGain;
};

struct LightSourceInfo
{
  bool lightSource = false;
  /// Pixels.
  double radius = 0;
};

/// A physical thing of the world: one graphics item of the scene tied to one
/// Box2D body (while simulated), which a stickman can grab and use.
class Object : public QObject, public Grabable, public Usable
{
  Q_OBJECT

public:
  /// Null parent: the scene owns the object once it is added.
  static Object* Create(const QString& name);

  Object(const QString& name, ObjectCategory::Type category, QObject* parent);
  ~Object() override;

  virtual ObjectCategory::Type GetCategory() const;
  virtual bool IsInUse() const;
  /// Once after construction. \a item is the picture (owned by the scene); the
  /// object owns \a fixtureCreator. \a maximumSize in pixels, a dimension <= 0
  /// meaning no limit. Without \a simulatePhysics the object never gets a body.
  virtual void Init(Scene* scene, QGraphicsItem* item, FixtureCreator* fixtureCreator, const Material& material,
                    const GrabableInfo& grabable, const UsableInfo& usable, const QSizeF& maximumSize,
                    const ObjectSoundsInfo& sounds, const LightSourceInfo& lightSource, bool simulatePhysics);
  /// Once per scene tick, after the physics step.
  virtual void Advance();
  /// Pixels.
  virtual void Move(double dx, double dy);
  virtual void ShrinkToMaximumSize();
  /// Fades the object out; the scene deletes it afterwards.
  virtual void Vanish();
  virtual void OnGroundBounce(QPointF point);
  virtual void OnStickmanHit(b2Body* body, Stickman* stickman, DrawingPrimitive* part);
  virtual void OnDoorHit(b2Body* body, Door* door, const QPointF& point);

  QString GetName() const override;
  void OnGrab(Stickman* stickman) override;
  void OnRelease() override;
  void SetHandPosition(QPointF position) override;
  void SetArmAngle(double angle) override;
  void SetFacingDirection(Direction direction) override;
  Usable* GetUsable() override;
  void Use(Stickman* stickman) override;

  /// Null when the object cannot be grabbed.
  virtual Grabable* GetGrabable();
  virtual LightSourceInfo GetLightSourceInfo() const;

  void startPhysicsSimulation();
  void stopPhysicsSimulation();
  /// The scene rectangle the item will have once it has shrunk.
  QRectF GetBoundingRectAfterShrinking() const;
  bool IsShrinking() const;

  QGraphicsItem* GetItem() const;
  /// Null while the object is not simulated.
  b2Body* GetBody() const;
  Stickman* GetHolder() const;
  Direction GetFacingDirection() const;
  bool IsVanished() const;
  const ObjectSoundsInfo& GetSounds() const;

protected slots:
  virtual void onStickmanAnimationKeyMoment(const QString& animationName, Animation* animation);
  virtual void onStickmanAnimationStarted(const QString& animationName, Animation* animation);
  virtual void onStickmanAnimationFinished(const QString& animationName, Animation* animation);

protected:
  virtual void onStickmanCollisionWhenUsed(Stickman* stickman, DrawingPrimitive* part);
  virtual void onObjectCollisionWhenUsed(Object* object);
  virtual void onDoorCollisionWhenUsed(Door* door);

  struct ShrinkingInfo
  {
    double maximumScale = 1.0;
    double shrinkingStep = 0;
    /// The picture's pen width when it was given to Init, item pixels; 0 when it
    /// has no pen of its own.
    double drawnPenWidth = 0;
  };

  struct PhysicsInfo
  {
    Material material;
    FixtureCreator* fixtureCreator = nullptr;
    b2Body* body = nullptr;
  };

  Scene* m_scene = nullptr;
  QGraphicsItem* m_item = nullptr;
  ShrinkingInfo m_shrinking;
  PhysicsInfo m_physics;
  GrabableInfo m_grabable;
  UsableInfo m_usable;
  ObjectSoundsInfo m_sounds;
  LightSourceInfo m_lightSource;
  /// Item coordinates.
  QPointF m_holdingPoint;
  Stickman* m_holder = nullptr;
  Direction m_facingDirection = Right;
  bool m_simulatePhysics = true;
  QString m_name;
  ObjectCategory::Type m_category;
  bool m_vanished = false;
  /// Ids of the interactive items touched during the current use.
  QSet<int> m_touchedItems;

private:
  /// Widens the pen of a shrunk picture so that its line stays readable.
  void keepPenReadable();
  QPointF calculateHoldingPoint() const;
  QPointF invertHoldingPoint(QPointF point) const;
  void detectCollisions();
  /// Tells the interactive items touched in this use that the touch is over.
  void finishTouchingInteractiveItems();

  friend void OnObjectsBounce(Object* a, Object* b, QPointF point);
};

/// Plays both objects' bounce sounds at \a point (scene pixels).
void OnObjectsBounce(Object* a, Object* b, QPointF point);
