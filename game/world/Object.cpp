#include "world/Object.h"

#include "world/Bomb.h"
#include "world/ColdWeapon.h"
#include "world/DoorKey.h"
#include "world/Firearm.h"
#include "world/FixtureCreators.h"
#include "world/Food.h"
#include "world/InteractiveItem.h"
#include "world/MusicalInstrument.h"
#include "world/Scene.h"
#include "world/Sun.h"
#include "world/UsableObject.h"
#include "world/Vehicle.h"

#include "common/Angles.h"
#include "common/BodyUserData.h"
#include "common/ConvertUtils.h"
#include "common/GlobalConstants.h"
#include "common/GraphicsItemUserData.h"
#include "stickman/Animation.h"
#include "stickman/Stickman.h"

#include <box2d/b2_body.h>
#include <box2d/b2_world.h>

#include <QAbstractGraphicsShapeItem>
#include <QGraphicsItem>
#include <QMap>
#include <QTransform>

#include <algorithm>
#include <utility>

namespace
{
constexpr double ScaleEpsilon = 0.00001;
// The narrowest a shrunk drawing's line gets on screen: a line 2 px wide covers
// a whole row or column of pixels wherever it falls, so it stays a solid line
// instead of fading into a grey half-tone hairline.
constexpr double MinShownPenWidthPx = 2.0;

QPointF centre(const QGraphicsItem* item)
{
  return item->boundingRect().center();
}
} // namespace

ObjectSoundsInfo::ObjectSoundsInfo(int bounce, int special, int engine, double gain)
  : bounceSound(bounce)
  , specialSound(special)
  , engineSound(engine)
  , bounceGain(gain)
{
}

Object* Object::Create(const QString& name)
{
  // Kinds whose own behaviour is not there yet are made as the nearest class
  // that already behaves: used through their animation, or just a thing.
  const ObjectCategory::Type category = ObjectCategory::FromObjectName(name);
  switch (category)
  {
  case ObjectCategory::ColdWeapon:
    return new ColdWeapon(name, nullptr);
  case ObjectCategory::Firearm:
    return new Firearm(name, nullptr);
  case ObjectCategory::Food:
    return new Food(name, nullptr);
  case ObjectCategory::MusicalInstrument:
    return new MusicalInstrument(name, nullptr);
  case ObjectCategory::Key:
    return new DoorKey(name, nullptr);
  case ObjectCategory::Bomb:
    return new Bomb(name, nullptr);
  case ObjectCategory::Saw:
    return new UsableObject(name, category, nullptr);
  case ObjectCategory::Vehicle:
    return Vehicle::Create(name);
  case ObjectCategory::Sun:
    return new Sun(name, nullptr);
  default:
    return new Object(name, category, nullptr);
  }
}

Object::Object(const QString& name, ObjectCategory::Type category, QObject* parent)
  : QObject(parent)
  , m_name(name)
  , m_category(category)
{
}

Object::~Object()
{
  if (m_holder)
  {
    // Going away while held: the holder must forget the object, but nothing
    // may be rebuilt in the world for an object that no longer exists.
    Stickman* holder = m_holder;
    m_simulatePhysics = false;
    holder->ReleaseItem();
  }
  stopPhysicsSimulation();
  delete m_physics.fixtureCreator;
}

ObjectCategory::Type Object::GetCategory() const
{
  return m_category;
}

bool Object::IsInUse() const
{
  return false;
}

void Object::Init(Scene* scene, QGraphicsItem* item, FixtureCreator* fixtureCreator, const Material& material,
                  const GrabableInfo& grabable, const UsableInfo& usable, const QSizeF& maximumSize,
                  const ObjectSoundsInfo& sounds, const LightSourceInfo& lightSource, bool simulatePhysics)
{
  m_scene = scene;
  m_item = item;
  if (m_physics.fixtureCreator != fixtureCreator)
    delete m_physics.fixtureCreator;
  m_physics.fixtureCreator = fixtureCreator;
  m_physics.material = material;
  m_grabable = grabable;
  m_usable = usable;
  m_sounds = sounds;
  m_lightSource = lightSource;
  m_simulatePhysics = simulatePhysics;
  m_facingDirection = Right;

  m_holder = nullptr;
  const auto* shape = dynamic_cast<const QAbstractGraphicsShapeItem*>(m_item);
  m_shrinking.drawnPenWidth = shape ? shape->pen().widthF() : 0;
  m_item->setTransformOriginPoint(centre(m_item));
  AssignObjectToGraphicsItem(this, m_item);

  m_shrinking.maximumScale = 1.0;
  const QRectF r = m_item->sceneBoundingRect();
  // The height limit counts only where the width limit does not bite.
  if (maximumSize.width() > 0 && r.width() > maximumSize.width())
    m_shrinking.maximumScale = std::min(m_shrinking.maximumScale, maximumSize.width() / r.width());
  else if (maximumSize.height() > 0 && r.height() > maximumSize.height())
    m_shrinking.maximumScale = std::min(m_shrinking.maximumScale, maximumSize.height() / r.height());

  if (IsShrinking())
  {
    const double ticksToFit = bv::SecondsToFitMaximumSize / bv::TickIntervalSec;
    m_shrinking.shrinkingStep =
        std::max(bv::MinShrinkingStep, (m_item->scale() - m_shrinking.maximumScale) / ticksToFit);
  }
  else
  {
    startPhysicsSimulation();
  }
}

void Object::Advance()
{
  if (m_vanished)
    return;
  if (b2Body* body = m_physics.body)
  {
    m_item->setPos(m2px(Vec2Point(body->GetPosition())));
    const double angleDegrees = Radians2Degrees(body->GetAngle());
    m_item->setRotation(m_facingDirection == Left ? -angleDegrees : angleDegrees);
  }
  else if (m_holder)
  {
    if (IsInUse())
      detectCollisions();
    else if (!m_touchedItems.isEmpty())
      finishTouchingInteractiveItems();
  }
  else if (IsShrinking())
  {
    m_item->setScale(m_item->scale() - m_shrinking.shrinkingStep);
    keepPenReadable();
  }
  else
  {
    startPhysicsSimulation();
  }
}

void Object::Move(double dx, double dy)
{
  m_item->moveBy(dx, dy);
  if (b2Body* body = m_physics.body)
    body->SetTransform(body->GetPosition() + Point2Vec(px2m(QPointF(dx, dy))), body->GetAngle());
}

void Object::ShrinkToMaximumSize()
{
  if (m_item->scale() > m_shrinking.maximumScale)
  {
    m_item->setScale(m_shrinking.maximumScale);
    keepPenReadable();
  }
}

void Object::Vanish()
{
  if (m_holder)
    m_holder->DropItem();
  stopPhysicsSimulation();
  m_vanished = true;
  m_scene->VanishObject(this);
}

void Object::OnGroundBounce(QPointF point)
{
  m_scene->PlaySound(m_sounds.bounceSound, point, m_sounds.bounceGain, false);
}

void Object::OnStickmanHit(b2Body*, Stickman*, DrawingPrimitive*)
{
}

void Object::OnDoorHit(b2Body*, Door*, const QPointF&)
{
}

QString Object::GetName() const
{
  return m_name;
}

void Object::OnGrab(Stickman* stickman)
{
  m_holder = stickman;
  stopPhysicsSimulation();
  m_item->setRotation(0);
  if (m_facingDirection == Left)
  {
    m_item->setTransform(QTransform::fromScale(-1, 1), true);
    m_facingDirection = Right;
  }
  m_holdingPoint = calculateHoldingPoint();
  m_item->setTransformOriginPoint(m_holdingPoint);
  connect(stickman, &Stickman::animationStarted, this, &Object::onStickmanAnimationStarted);
  connect(stickman, &Stickman::animationKeyMoment, this, &Object::onStickmanAnimationKeyMoment);
  connect(stickman, &Stickman::animationFinished, this, &Object::onStickmanAnimationFinished);
}

void Object::OnRelease()
{
  finishTouchingInteractiveItems();
  if (m_holder)
    disconnect(m_holder, nullptr, this, nullptr);
  if (m_simulatePhysics)
    startPhysicsSimulation();
  m_holder = nullptr;
}

void Object::SetHandPosition(QPointF position)
{
  m_item->setPos(position - m_holdingPoint);
}

void Object::SetArmAngle(double angle)
{
  m_item->setRotation(Radians2Degrees(angle + m_grabable.angle));
}

void Object::SetFacingDirection(Direction direction)
{
  if (direction == m_facingDirection)
    return;
  m_facingDirection = direction;
  m_holdingPoint = invertHoldingPoint(m_holdingPoint);
  // The mirror applies after the turn about the grip, which stays put in the
  // item's own coordinates: the hand moves to where the mirror takes the grip.
  m_item->setTransform(QTransform::fromScale(-1, 1), true);
  if (b2Body* body = m_physics.body)
  {
    // The body is rebuilt as the mirror of the picture, moving as it did.
    const b2Vec2 velocity = body->GetLinearVelocity();
    const float angularVelocity = body->GetAngularVelocity();
    stopPhysicsSimulation();
    startPhysicsSimulation();
    m_physics.body->SetLinearVelocity(velocity);
    m_physics.body->SetAngularVelocity(angularVelocity);
  }
}

Usable* Object::GetUsable()
{
  return m_usable.usable ? this : nullptr;
}

void Object::Use(Stickman* stickman)
{
  if (m_usable.usable && stickman && stickman == m_holder)
    stickman->RunAnimation(m_usable.animation);
}

Grabable* Object::GetGrabable()
{
  return m_grabable.grabable ? this : nullptr;
}

LightSourceInfo Object::GetLightSourceInfo() const
{
  return m_lightSource;
}

void Object::startPhysicsSimulation()
{
  if (!m_simulatePhysics || m_physics.body || !m_scene)
    return;
  // The picture turns about its centre, where the body turns, from now on; a
  // picture held by another point is moved so that it stays where it is.
  const QPointF shownCentre = m_item->mapToParent(centre(m_item));
  m_item->setTransformOriginPoint(centre(m_item));
  m_item->setPos(m_item->pos() + shownCentre - m_item->mapToParent(centre(m_item)));
  b2BodyDef definition;
  definition.type = b2_dynamicBody;
  // A left-facing picture is mirrored after it is rotated, which turns it the
  // other way: its body has the mirrored fixtures and the opposite angle.
  const bool mirrored = m_facingDirection == Left;
  definition.position = Point2Vec(px2m(m_item->pos()));
  definition.angle = Degrees2Radians(mirrored ? -m_item->rotation() : m_item->rotation());
  definition.linearDamping = bv::LinearDampling;
  definition.angularDamping = bv::AngularDampling;
  definition.gravityScale = 1;
  definition.allowSleep = true;
  definition.awake = true;
  definition.enabled = true;
  definition.fixedRotation = false;
  definition.bullet = false;
  m_physics.body = m_scene->GetWorld()->CreateBody(&definition);
  AssignObjectToBody(this, m_physics.body);
  if (m_physics.fixtureCreator)
    m_physics.fixtureCreator->Run(m_physics.material, m_item->scale() * bv::MetersPerPixel, m_physics.body,
                                  mirrored);
}

void Object::stopPhysicsSimulation()
{
  if (!m_physics.body)
    return;
  DestroyBodyUserData(m_physics.body);
  m_scene->GetWorld()->DestroyBody(m_physics.body);
  m_physics.body = nullptr;
}

QRectF Object::GetBoundingRectAfterShrinking() const
{
  const QRectF r = m_item->sceneBoundingRect();
  const double excess = m_item->scale() - m_shrinking.maximumScale;
  if (excess <= 0)
    return r;
  const double d = excess * r.width() / 2;
  const double e = excess * r.height() / 2;
  return QRectF(r.x() + d, r.y() + e, r.width() - 2 * d, r.height() - 2 * e);
}

bool Object::IsShrinking() const
{
  return m_item && m_item->scale() > m_shrinking.maximumScale + ScaleEpsilon;
}

QGraphicsItem* Object::GetItem() const
{
  return m_item;
}

b2Body* Object::GetBody() const
{
  return m_physics.body;
}

Stickman* Object::GetHolder() const
{
  return m_holder;
}

Direction Object::GetFacingDirection() const
{
  return m_facingDirection;
}

bool Object::IsVanished() const
{
  return m_vanished;
}

const ObjectSoundsInfo& Object::GetSounds() const
{
  return m_sounds;
}

void Object::onStickmanAnimationKeyMoment(const QString&, Animation*)
{
}

void Object::onStickmanAnimationStarted(const QString&, Animation*)
{
}

void Object::onStickmanAnimationFinished(const QString&, Animation*)
{
}

void Object::onStickmanCollisionWhenUsed(Stickman*, DrawingPrimitive*)
{
}

void Object::onObjectCollisionWhenUsed(Object*)
{
}

void Object::onDoorCollisionWhenUsed(Door*)
{
}

void Object::keepPenReadable()
{
  auto* shape = dynamic_cast<QAbstractGraphicsShapeItem*>(m_item);
  const double scale = m_item->scale();
  if (!shape || m_shrinking.drawnPenWidth <= 0 || scale <= 0)
    return;
  // A pen drawn thinner than the minimum keeps its own width on screen.
  const double shownWidthPx = std::max(m_shrinking.drawnPenWidth * scale,
                                       std::min(m_shrinking.drawnPenWidth, MinShownPenWidthPx));
  QPen pen = shape->pen();
  pen.setWidthF(shownWidthPx / scale);
  shape->setPen(pen);
}

QPointF Object::calculateHoldingPoint() const
{
  const QRectF r = m_item->boundingRect();
  const HoldingPointLocation& location = m_grabable.holdingPoint;
  const double x = r.x() + location.x * (location.xUnit == HoldingPointLocation::Height ? r.height() : r.width());
  const double y = r.y() + location.y * (location.yUnit == HoldingPointLocation::Height ? r.height() : r.width());
  return QPointF(std::trunc(x), std::trunc(y));
}

QPointF Object::invertHoldingPoint(QPointF point) const
{
  // The grip's place once the picture is mirrored about its own x = 0.
  return QTransform::fromScale(-1, 1).map(point);
}

void Object::detectCollisions()
{
  QList<Object*> objects;
  QMap<Stickman*, DrawingPrimitive*> stickmen;
  QList<Door*> doors;
  QList<InteractiveItem*> interactiveItems;
  for (QGraphicsItem* item : m_item->collidingItems(Qt::IntersectsItemShape))
  {
    const QGraphicsItem* top = item->topLevelItem();
    Object* object = ExtractObjectFromGraphicsItem(top);
    if (object && !object->IsVanished())
    {
      objects.append(object);
      continue;
    }
    DrawingPrimitive* part = ExtractStickmanPartFromGraphicsItem(item);
    Stickman* stickman = ExtractStickmanFromGraphicsItem(top);
    if (part && stickman && stickman != m_holder)
      stickmen.insert(stickman, part);
    else if (Door* door = ExtractDoorFromGraphicsItem(item))
      doors.append(door);
    else if (InteractiveItem* interactiveItem = ExtractInteractiveItemFromGraphicsItem(top);
             interactiveItem && !interactiveItem->IsVanished())
      interactiveItems.append(interactiveItem);
  }
  // Objects come first: a shield that turns a blow back also saves the body behind it.
  for (Object* object : qAsConst(objects))
    onObjectCollisionWhenUsed(object);
  for (auto it = stickmen.cbegin(); it != stickmen.cend(); ++it)
  {
    if (!it.key()->IsKilled())
      onStickmanCollisionWhenUsed(it.key(), it.value());
  }
  for (Door* door : qAsConst(doors))
    onDoorCollisionWhenUsed(door);
  // Once per use: a swing that stays in a tree cuts it once.
  for (InteractiveItem* interactiveItem : qAsConst(interactiveItems))
  {
    if (m_touchedItems.contains(interactiveItem->GetId()))
      continue;
    m_touchedItems.insert(interactiveItem->GetId());
    interactiveItem->OnTouchStarted(this);
  }
}

void Object::finishTouchingInteractiveItems()
{
  // The set is emptied first: a tree that falls may reach back into this object.
  const QSet<int> touched = std::exchange(m_touchedItems, {});
  for (int id : touched)
    if (InteractiveItem* item = m_scene->FindInteractiveItemById(id))
      item->OnTouchFinished(this);
}

void OnObjectsBounce(Object* a, Object* b, QPointF point)
{
  const double gain = 0.5 * std::min(a->GetSounds().bounceGain, b->GetSounds().bounceGain);
  a->m_scene->PlaySound(a->m_sounds.bounceSound, point, gain, false);
  b->m_scene->PlaySound(b->m_sounds.bounceSound, point, gain, false);
}
