#include "stickman/DrawingPrimitive.h"

#include "common/BodyUserData.h"
#include "common/ConvertUtils.h"
#include "common/GlobalConstants.h"
#include "common/GraphicsItemUserData.h"
#include "common/Material.h"
#include "stickman/Posture.h"

#include <box2d/b2_body.h>
#include <box2d/b2_circle_shape.h>
#include <box2d/b2_common.h>
#include <box2d/b2_fixture.h>
#include <box2d/b2_polygon_shape.h>
#include <box2d/b2_world.h>

#include <QBrush>
#include <QGraphicsEllipseItem>
#include <QGraphicsLineItem>
#include <QGraphicsScene>
#include <QLinearGradient>
#include <QPen>
#include <QXmlStreamWriter>

#include <algorithm>
#include <cmath>

namespace
{
QString number(double value)
{
  return QString::number(value, 'g', 6);
}

QString jointName(const Joint* joint)
{
  return joint ? joint->name : QString();
}

// The limb's shading runs across it: from its "to" end along the normal.
QPen limbPen(const QLineF& line, const QColor& color, double width)
{
  const QPointF normal(line.y1() - line.y2(), line.x2() - line.x1());
  QLinearGradient gradient(line.p2(), line.p2() + 0.4 * normal);
  gradient.setColorAt(0, color);
  gradient.setColorAt(1, color.lighter(230));
  return QPen(QBrush(gradient), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A limb's line. QGraphicsLineItem measures its bounding rectangle by stroking
// the line anew at every call, and every scene query and index update asks for
// it: the measure is kept until the line or the pen's outline changes.
class LimbItem : public QGraphicsLineItem
{
public:
  using QGraphicsLineItem::QGraphicsLineItem;

  QRectF boundingRect() const override
  {
    const QPen shown = pen();
    if (line() != m_measuredLine || shown.widthF() != m_measuredPen.widthF() ||
        shown.capStyle() != m_measuredPen.capStyle() || shown.joinStyle() != m_measuredPen.joinStyle() ||
        m_measured.isNull())
    {
      m_measured = QGraphicsLineItem::boundingRect();
      m_measuredLine = line();
      m_measuredPen = shown;
    }
    return m_measured;
  }

private:
  mutable QRectF m_measured;
  mutable QLineF m_measuredLine;
  mutable QPen m_measuredPen;
};

QPen outlinePen(const QColor& color, double width)
{
  return QPen(QBrush(color.darker(200)), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QBrush headBrush(const QColor& color, Direction direction)
{
  QLinearGradient gradient = direction == Left ? QLinearGradient(0.0, 0.0, 0.4, 0.4)
                                               : QLinearGradient(1.0, 0.0, 0.6, 0.4);
  gradient.setCoordinateMode(QGradient::ObjectBoundingMode);
  gradient.setColorAt(0, color.lighter(230));
  gradient.setColorAt(1, color);
  return QBrush(gradient);
}

// Box2D rejects degenerate shapes; a limb is never thinner or shorter than this.
constexpr double MinHalfExtentM = b2_linearSlop;

struct BoxShape
{
  b2Vec2 centre;
  float halfLength;
  float halfThickness;
  float angle;
};

// The scene box of a limb of local length \a localLength drawn along \a sceneLine.
BoxShape limbBox(const QLineF& sceneLine, double localLength, double width)
{
  const double sceneLength = sceneLine.length();
  const double scale = localLength > 1e-9 ? sceneLength / localLength : 1.0;
  BoxShape box;
  box.centre = Point2Vec(px2m(sceneLine.center()));
  box.halfLength = float(std::max(px2m(sceneLength / 2), MinHalfExtentM));
  box.halfThickness = float(std::max(px2m(0.5 * scale * width * bv::StickmanLimbsWidth), MinHalfExtentM));
  // Box2D shares the scene's y-down frame, so the angle is measured the same way
  // (QLineF::angle() counts the other way round).
  box.angle = float(std::atan2(sceneLine.dy(), sceneLine.dx()));
  return box;
}

b2Body* createBody(const Material& material, b2World* world, bool sensor, const b2Vec2& position,
                   const b2Shape& shape)
{
  b2BodyDef bodyDefinition;
  bodyDefinition.type = sensor ? b2_staticBody : b2_dynamicBody;
  bodyDefinition.position = position;
  bodyDefinition.angle = 0;
  bodyDefinition.linearDamping = float(bv::LinearDampling);
  bodyDefinition.angularDamping = float(bv::AngularDampling);
  b2Body* body = world->CreateBody(&bodyDefinition);

  b2FixtureDef fixtureDefinition;
  fixtureDefinition.shape = &shape;
  material.ApplyTo(fixtureDefinition);
  if (!sensor)
    fixtureDefinition.filter.groupIndex = bv::RagdollFilterGroup;
  fixtureDefinition.isSensor = sensor;
  body->CreateFixture(&fixtureDefinition);
  return body;
}

class DrawingPrimitiveImpl : public DrawingPrimitive
{
public:
  explicit DrawingPrimitiveImpl(const QString& name)
    : m_name(name)
  {
  }

  QString GetName() const override { return m_name; }
  QColor GetColor() const override { return m_color; }

  void SetColor(const QColor& color) override
  {
    m_color = color;
    updateAppearance();
  }

  void SetZValue(double z) override
  {
    m_zValue = z;
    setItemsZValue(z);
  }

  double GetZValue() const override { return m_zValue; }
  void Flatten() override { setItemsZValue(0); }
  void RestoreZValue() override { SetZValue(m_zValue); }

  void StartCollisionsDetection(b2World* world, Stickman* stickman) override
  {
    StopCollisionsDetection();
    m_body = CreatePhysicsBody(Material(), world, true);
    AssignStickmanToBody(stickman, m_body);
    AssignStickmanPartToBody(this, m_body);
  }

  void StopCollisionsDetection() override
  {
    if (!m_body)
      return;
    DestroyBodyUserData(m_body);
    m_body->GetWorld()->DestroyBody(m_body);
    m_body = nullptr;
  }

protected:
  virtual QGraphicsItem* mainItem() const = 0;
  virtual QGraphicsItem* outlineItem() const = 0;
  virtual void updateAppearance() = 0;

  // Called by the subclasses' constructors once their items exist.
  void initItems()
  {
    AssignStickmanPartToGraphicsItem(this, mainItem());
    setItemsZValue(m_zValue);
  }

  // Subclass destructors stop detection and delete the items themselves.
  void destroy()
  {
    StopCollisionsDetection();
    delete mainItem();
    delete outlineItem();
  }

  QPointF toScene(const QPointF& local) const { return mainItem()->mapToScene(local); }

  // A ragdoll part drawn by \a main over \a outline, both placed at \a centre in
  // the stickman's scene, with a dynamic body of the primitive's shape.
  Ragdoll::Element ragdollElement(QGraphicsItem* main, QGraphicsItem* outline, const QPointF& centre,
                                  const Material& material, b2World* world) const
  {
    const double z = m_zValue + bv::StickmanZValue;
    for (QGraphicsItem* item : {main, outline})
    {
      if (QGraphicsScene* graphicsScene = mainItem()->scene())
        graphicsScene->addItem(item);
      item->setPos(centre);
    }
    main->setZValue(z);
    outline->setZValue(z - 0.1);

    Ragdoll::Element element;
    element.graphicsItems = {main, outline};
    element.body = CreatePhysicsBody(material, world, false);
    return element;
  }

  QString m_name;
  QColor m_color;
  double m_zValue = 0;
  b2Body* m_body = nullptr;

private:
  void setItemsZValue(double z)
  {
    mainItem()->setZValue(z);
    outlineItem()->setZValue(z - 0.1);
  }
};

class LinePrimitive : public DrawingPrimitiveImpl
{
public:
  LinePrimitive(const QString& name, Joint* from, Joint* to, double width)
    : DrawingPrimitiveImpl(name)
    , m_from(from)
    , m_to(to)
    , m_width(width)
    , m_mainItem(new LimbItem)
    , m_outlineItem(new LimbItem)
  {
    initItems();
  }

  ~LinePrimitive() override { destroy(); }

  void Update() override
  {
    if (!m_from || !m_to)
      return;
    const QLineF line = localLine();
    m_mainItem->setLine(line);
    m_outlineItem->setLine(line);
    updateAppearance();
    if (!m_body)
      return;
    const BoxShape box = limbBox(sceneLine(), line.length(), m_width);
    b2Fixture* fixture = m_body->GetFixtureList();
    if (fixture && fixture->GetType() == b2Shape::e_polygon)
      static_cast<b2PolygonShape*>(fixture->GetShape())
          ->SetAsBox(box.halfLength, box.halfThickness, b2Vec2(0, 0), box.angle);
    // Last, so that the broad phase sees the new shape.
    m_body->SetTransform(box.centre, 0);
  }

  QList<QGraphicsItem*> GetGraphicsItems() const override { return {m_mainItem, m_outlineItem}; }

  void SwapJoints(Joint* a, Joint* b) override
  {
    const auto swapped = [a, b](Joint* joint) { return joint == a ? b : joint == b ? a : joint; };
    m_from = swapped(m_from);
    m_to = swapped(m_to);
  }

  void Save(QXmlStreamWriter& writer) const override
  {
    writer.writeEmptyElement(QStringLiteral("line"));
    writer.writeAttribute(QStringLiteral("from"), jointName(m_from));
    writer.writeAttribute(QStringLiteral("to"), jointName(m_to));
    writer.writeAttribute(QStringLiteral("color"), m_color.name());
    writer.writeAttribute(QStringLiteral("name"), m_name);
    writer.writeAttribute(QStringLiteral("zValue"), number(m_zValue));
    writer.writeAttribute(QStringLiteral("width"), number(m_width));
  }

  b2Body* CreatePhysicsBody(const Material& material, b2World* world, bool sensor) const override
  {
    const BoxShape box = limbBox(sceneLine(), localLine().length(), m_width);
    b2PolygonShape shape;
    shape.SetAsBox(box.halfLength, box.halfThickness, b2Vec2(0, 0), box.angle);
    return createBody(material, world, sensor, box.centre, shape);
  }

  Ragdoll::Element CreateRagdollElement(const Material& material, b2World* world,
                                        Direction direction) const override
  {
    const QLineF scene = sceneLine();
    const QPointF centre = scene.center();
    const QPointF a = scene.p1() - centre;
    const QPointF b = scene.p2() - centre;
    const QLineF line = direction == Left ? QLineF(b, a) : QLineF(a, b);
    const double localLength = localLine().length();
    const double scale = localLength > 1e-9 ? line.length() / localLength : 1.0;
    const double width = m_width * bv::StickmanLimbsWidth;

    auto* main = new LimbItem(line);
    main->setPen(limbPen(line, m_color, width * scale));
    auto* outline = new LimbItem(line);
    outline->setPen(outlinePen(m_color, scale * (width + 2 * bv::StickmanContourWidth)));
    Ragdoll::Element element = ragdollElement(main, outline, centre, material, world);
    element.anchors.insert(jointName(m_from), px2m(a));
    element.anchors.insert(jointName(m_to), px2m(b));
    return element;
  }

  DrawingPrimitive* Translate(const QMap<const Joint*, Joint*>& joints) const override
  {
    auto* result = new LinePrimitive(m_name, joints.value(m_from, nullptr), joints.value(m_to, nullptr), m_width);
    result->SetColor(m_color);
    result->SetZValue(m_zValue);
    return result;
  }

protected:
  QGraphicsItem* mainItem() const override { return m_mainItem; }
  QGraphicsItem* outlineItem() const override { return m_outlineItem; }

  void updateAppearance() override
  {
    const double width = m_width * bv::StickmanLimbsWidth;
    m_mainItem->setPen(limbPen(m_mainItem->line(), m_color, width));
    m_outlineItem->setPen(outlinePen(m_color, width + 2 * bv::StickmanContourWidth));
  }

private:
  QLineF localLine() const
  {
    return m_from && m_to ? QLineF(m_from->position, m_to->position) : QLineF();
  }

  QLineF sceneLine() const
  {
    const QLineF line = localLine();
    return QLineF(toScene(line.p1()), toScene(line.p2()));
  }

  Joint* m_from;
  Joint* m_to;
  double m_width;
  QGraphicsLineItem* m_mainItem;
  QGraphicsLineItem* m_outlineItem;
};

class CirclePrimitive : public DrawingPrimitiveImpl
{
public:
  CirclePrimitive(const QString& name, Joint* center, double radius)
    : DrawingPrimitiveImpl(name)
    , m_center(center)
    , m_radius(radius)
    , m_mainItem(new QGraphicsEllipseItem)
    , m_outlineItem(new QGraphicsEllipseItem)
  {
    m_mainItem->setPen(Qt::NoPen);
    m_outlineItem->setPen(Qt::NoPen);
    initItems();
  }

  ~CirclePrimitive() override { destroy(); }

  void Update() override
  {
    if (!m_center)
      return;
    const QRectF rect = localRect();
    m_mainItem->setRect(rect);
    m_outlineItem->setRect(grown(rect, bv::StickmanContourWidth));
    if (m_body)
      m_body->SetTransform(Point2Vec(px2m(toScene(m_center->position))), 0);
  }

  QList<QGraphicsItem*> GetGraphicsItems() const override { return {m_mainItem, m_outlineItem}; }

  void SwapJoints(Joint* a, Joint* b) override
  {
    if (m_center == a)
      m_center = b;
    else if (m_center == b)
      m_center = a;
  }

  void Save(QXmlStreamWriter& writer) const override
  {
    writer.writeEmptyElement(QStringLiteral("circle"));
    writer.writeAttribute(QStringLiteral("center"), jointName(m_center));
    writer.writeAttribute(QStringLiteral("radius"), number(m_radius));
    writer.writeAttribute(QStringLiteral("color"), m_color.name());
    writer.writeAttribute(QStringLiteral("name"), m_name);
    writer.writeAttribute(QStringLiteral("zValue"), number(m_zValue));
  }

  b2Body* CreatePhysicsBody(const Material& material, b2World* world, bool sensor) const override
  {
    b2CircleShape shape;
    shape.m_radius = float(std::max(px2m(sceneRadius()), MinHalfExtentM));
    return createBody(material, world, sensor, Point2Vec(px2m(sceneCenter())), shape);
  }

  Ragdoll::Element CreateRagdollElement(const Material& material, b2World* world,
                                        Direction direction) const override
  {
    const QPointF centre = sceneCenter();
    const double radius = sceneRadius();
    const double scale = radius / drawnRadius();
    const QRectF rect(-radius, -radius, 2 * radius, 2 * radius);

    auto* main = new QGraphicsEllipseItem(rect);
    main->setPen(Qt::NoPen);
    main->setBrush(headBrush(m_color, direction));
    auto* outline = new QGraphicsEllipseItem(grown(rect, scale * bv::StickmanContourWidth));
    outline->setPen(m_outlineItem->pen());
    outline->setBrush(m_outlineItem->brush());
    Ragdoll::Element element = ragdollElement(main, outline, centre, material, world);
    element.anchors.insert(jointName(m_center), QPointF(0, 0));
    return element;
  }

  DrawingPrimitive* Translate(const QMap<const Joint*, Joint*>& joints) const override
  {
    auto* result = new CirclePrimitive(m_name, joints.value(m_center, nullptr), m_radius);
    result->SetColor(m_color);
    result->SetZValue(m_zValue);
    return result;
  }

protected:
  QGraphicsItem* mainItem() const override { return m_mainItem; }
  QGraphicsItem* outlineItem() const override { return m_outlineItem; }

  void updateAppearance() override
  {
    m_mainItem->setBrush(headBrush(m_color, Right));
    m_outlineItem->setBrush(QBrush(m_color.darker(200)));
  }

private:
  static QRectF grown(const QRectF& rect, double margin) { return rect.adjusted(-margin, -margin, margin, margin); }

  double drawnRadius() const { return m_radius + 0.45 * bv::StickmanLimbsWidth; }

  QRectF localRect() const
  {
    const double r = drawnRadius();
    const QPointF centre = m_center ? m_center->position : QPointF();
    return QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r);
  }

  QPointF sceneCenter() const { return toScene(m_center ? m_center->position : QPointF()); }

  // The drawn radius in scene units: the distance to a corner of the square, over sqrt(2).
  double sceneRadius() const
  {
    return QLineF(sceneCenter(), toScene(localRect().topLeft())).length() / std::sqrt(2.0);
  }

  Joint* m_center;
  double m_radius;
  QGraphicsEllipseItem* m_mainItem;
  QGraphicsEllipseItem* m_outlineItem;
};
} // namespace

DrawingPrimitive::~DrawingPrimitive() = default;

DrawingPrimitive* DrawingPrimitive::CreateLine(const QString& name, Joint* from, Joint* to, double width,
                                               const QColor& color, double zValue)
{
  if (!from || !to)
    return nullptr;
  auto* line = new LinePrimitive(name, from, to, width);
  line->SetColor(color);
  line->SetZValue(zValue);
  return line;
}

DrawingPrimitive* DrawingPrimitive::CreateCircle(const QString& name, Joint* center, double radius,
                                                 const QColor& color, double zValue)
{
  if (!center)
    return nullptr;
  auto* circle = new CirclePrimitive(name, center, radius);
  circle->SetColor(color);
  circle->SetZValue(zValue);
  return circle;
}
