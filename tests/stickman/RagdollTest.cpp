#include "StickmanTestSupport.h"

#include "common/BodyUserData.h"
#include "common/ConvertUtils.h"
#include "common/GlobalConstants.h"
#include "common/Material.h"
#include "stickman/DrawingPrimitive.h"
#include "stickman/Posture.h"
#include "stickman/Ragdoll.h"
#include "stickman/Stickman.h"

#include <box2d/b2_body.h>
#include <box2d/b2_fixture.h>
#include <box2d/b2_polygon_shape.h>
#include <box2d/b2_revolute_joint.h>
#include <box2d/b2_world.h>

#include <QGraphicsItem>
#include <QGraphicsScene>

#include <QSet>

#include <gtest/gtest.h>

#include <cmath>

using namespace stickmantest;

namespace
{
constexpr double Degree = M_PI / 180;

Material bodyMaterial()
{
  Material material;
  material.friction = 0.6;
  material.restitution = 0.1;
  material.density = 1.0;
  return material;
}

class RagdollTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    stickman = MakeFigure(&scene);
    stickman->setPos(400, 300);
  }

  b2RevoluteJoint* jointBetween(const Ragdoll& ragdoll, const char* a, const char* b)
  {
    const b2Body* bodyA = ragdoll.FindElementByName(a)->body;
    const b2Body* bodyB = ragdoll.FindElementByName(b)->body;
    for (b2Joint* joint = world.GetJointList(); joint; joint = joint->GetNext())
      if (joint->GetBodyA() == bodyA && joint->GetBodyB() == bodyB)
        return static_cast<b2RevoluteJoint*>(joint);
    return nullptr;
  }

  QGraphicsScene scene;
  b2World world{b2Vec2(0, 9.8f)};
  std::unique_ptr<Stickman> stickman;
};

// The corners of a body's box, in scene pixels.
QPolygonF boxCorners(const b2Body* body)
{
  const auto* shape = static_cast<const b2PolygonShape*>(body->GetFixtureList()->GetShape());
  QPolygonF corners;
  for (int i = 0; i < shape->m_count; ++i)
    corners << m2px(Vec2Point(body->GetWorldPoint(shape->m_vertices[i])));
  return corners;
}

double distanceToLine(const QPointF& p, const QLineF& line)
{
  const QPointF d = line.p2() - line.p1();
  return std::abs(d.x() * (p.y() - line.y1()) - d.y() * (p.x() - line.x1())) / line.length();
}
} // namespace

TEST_F(RagdollTest, BuildsOneElementPerPrimitiveJoinedAsTheFileSays)
{
  std::unique_ptr<Ragdoll> ragdoll(stickman->CreateRagdoll(bodyMaterial(), &world));
  EXPECT_EQ(world.GetBodyCount(), stickman->GetDrawingPrimitives().size());
  EXPECT_EQ(world.GetJointCount(), stickman->GetRagdollJoints().size());
  EXPECT_EQ(ragdoll->FindElementByName("tail"), nullptr);
  // Every element can be reached, one per primitive name, each with its own body.
  QSet<const b2Body*> bodies;
  for (const Ragdoll::Element& element : ragdoll->GetElements())
    bodies.insert(element.body);
  EXPECT_EQ(bodies.size(), stickman->GetDrawingPrimitives().size());
  EXPECT_EQ(ragdoll->GetElements().value("head").body, ragdoll->FindElementByName("head")->body);
  const Ragdoll::Element* head = ragdoll->FindElementByName("head");
  ASSERT_NE(head, nullptr);
  EXPECT_EQ(head->anchors.value("head"), QPointF(0, 0));
  EXPECT_EQ(head->graphicsItems.size(), 2);
  EXPECT_EQ(head->graphicsItems[0]->scene(), &scene);
  EXPECT_DOUBLE_EQ(head->graphicsItems[0]->zValue(), 0.5 + bv::StickmanZValue);
  EXPECT_DOUBLE_EQ(head->graphicsItems[1]->zValue(), 0.4 + bv::StickmanZValue);
  EXPECT_EQ(head->body->GetUserData().pointer, 0u);

  // Anchors are the ends of the limb, around the body's centre.
  const Ragdoll::Element* shin = ragdoll->FindElementByName("left_shin");
  const QPointF knee = stickman->mapToScene(stickman->FindJoint("left_knee")->position);
  EXPECT_NEAR(m2px(Vec2Point(shin->body->GetWorldPoint(Point2Vec(shin->anchors.value("left_knee"))))).x(), knee.x(),
              1e-3);

  const int items = scene.items().size();
  ragdoll.reset();
  EXPECT_EQ(world.GetBodyCount(), 0);
  EXPECT_EQ(scene.items().size(), items - 2 * stickman->GetDrawingPrimitives().size());
}

TEST_F(RagdollTest, LimitsAreMirroredForAFigureFacingLeft)
{
  // The test figure allows -0.1 .. 2.4 radians at the knees.
  {
    const std::unique_ptr<Ragdoll> ragdoll(stickman->CreateRagdoll(bodyMaterial(), &world));
    const b2RevoluteJoint* knee = jointBetween(*ragdoll, "left_thigh", "left_shin");
    ASSERT_NE(knee, nullptr);
    EXPECT_TRUE(knee->IsLimitEnabled());
    EXPECT_FALSE(knee->IsMotorEnabled());
    EXPECT_FALSE(knee->GetCollideConnected());
    // The file keeps degrees with six digits.
    EXPECT_NEAR(knee->GetLowerLimit(), -0.1, 1e-4);
    EXPECT_NEAR(knee->GetUpperLimit(), 2.4, 1e-4);
  }
  stickman->TurnAround();
  const std::unique_ptr<Ragdoll> ragdoll(stickman->CreateRagdoll(bodyMaterial(), &world));
  const b2RevoluteJoint* knee = jointBetween(*ragdoll, "left_thigh", "left_shin");
  EXPECT_NEAR(knee->GetLowerLimit(), -2.4, 1e-4);
  EXPECT_NEAR(knee->GetUpperLimit(), 0.1, 1e-4);
}

TEST_F(RagdollTest, JointsNamingMissingElementsOrForeignAnchorsAreSkipped)
{
  Ragdoll::Element a;
  Ragdoll::Element b;
  b2BodyDef definition;
  definition.type = b2_dynamicBody;
  a.body = world.CreateBody(&definition);
  b.body = world.CreateBody(&definition);
  a.anchors.insert("hinge", QPointF(0.1, 0));
  a.anchors.insert("tip", QPointF(-0.1, 0));
  b.anchors.insert("hinge", QPointF(-0.1, 0));
  Ragdoll ragdoll(nullptr);
  ragdoll.Init({{"a", a}, {"b", b}},
               {{"a", "ghost", "hinge", 0, 1}, {"a", "b", "tip", 0, 1}, {"a", "b", "hinge", -30 * Degree, 90 * Degree}},
               Left, &world);
  ASSERT_EQ(world.GetJointCount(), 1);
  const auto* joint = static_cast<const b2RevoluteJoint*>(world.GetJointList());
  EXPECT_NEAR(joint->GetLowerLimit(), -90 * Degree, 1e-6);
  EXPECT_NEAR(joint->GetUpperLimit(), 30 * Degree, 1e-6);
  EXPECT_NEAR(joint->GetLocalAnchorA().x, 0.1f, 1e-6);
  EXPECT_NEAR(joint->GetLocalAnchorB().x, -0.1f, 1e-6);
}

TEST_F(RagdollTest, PartsNeverCollideWithEachOtherButSensorsKeepTheDefaultGroup)
{
  const std::unique_ptr<Ragdoll> ragdoll(stickman->CreateRagdoll(bodyMaterial(), &world));
  for (b2Body* body = world.GetBodyList(); body; body = body->GetNext())
  {
    EXPECT_EQ(body->GetType(), b2_dynamicBody);
    const b2Fixture* fixture = body->GetFixtureList();
    EXPECT_EQ(fixture->GetFilterData().groupIndex, bv::RagdollFilterGroup);
    EXPECT_FALSE(fixture->IsSensor());
    EXPECT_FLOAT_EQ(fixture->GetFriction(), 0.6f);
    EXPECT_FLOAT_EQ(fixture->GetDensity(), 1.0f);
  }

  b2World sensors(b2Vec2(0, 9.8f));
  stickman->StartCollisionsDetection(&sensors);
  EXPECT_EQ(sensors.GetBodyCount(), stickman->GetDrawingPrimitives().size());
  for (b2Body* body = sensors.GetBodyList(); body; body = body->GetNext())
  {
    EXPECT_EQ(body->GetType(), b2_staticBody);
    EXPECT_EQ(body->GetFixtureList()->GetFilterData().groupIndex, 0);
    EXPECT_TRUE(body->GetFixtureList()->IsSensor());
    EXPECT_EQ(ExtractStickmanFromBody(body), stickman.get());
    EXPECT_NE(ExtractStickmanPartFromBody(body), nullptr);
  }
  // Restarting replaces the bodies; stopping removes them.
  stickman->StartCollisionsDetection(&sensors);
  EXPECT_EQ(sensors.GetBodyCount(), stickman->GetDrawingPrimitives().size());
  stickman->StopCollisionsDetection();
  EXPECT_EQ(sensors.GetBodyCount(), 0);
}

TEST_F(RagdollTest, SensorBodiesFollowTheLimbsAsDrawn)
{
  stickman->StartCollisionsDetection(&world);
  stickman->GetStaticPosture("climbing-right")->Apply();
  stickman->UpdateCurrentPosture();
  for (DrawingPrimitive* primitive : stickman->GetDrawingPrimitives())
  {
    if (primitive->GetName() == "head")
      continue;
    b2Body* body = nullptr;
    for (b2Body* b = world.GetBodyList(); b; b = b->GetNext())
      if (ExtractStickmanPartFromBody(b) == primitive)
        body = b;
    ASSERT_NE(body, nullptr);
    const auto* item = static_cast<QGraphicsLineItem*>(primitive->GetGraphicsItems()[0]);
    const QLineF limb(item->mapToScene(item->line().p1()), item->mapToScene(item->line().p2()));
    EXPECT_NEAR(m2px(Vec2Point(body->GetPosition())).x(), limb.center().x(), 1e-3);
    // The box lies along the limb, whatever its slope.
    for (const QPointF& corner : boxCorners(body))
      EXPECT_LT(distanceToLine(corner, limb), 0.5 * 0.5 * bv::StickmanLimbsWidth + 0.1)
          << primitive->GetName().toStdString();
  }
  stickman->StopCollisionsDetection();
}

TEST_F(RagdollTest, AScaledFigureGivesScaledBodies)
{
  const DrawingPrimitive* torso = stickman->GetDrawingPrimitives()[4];
  ASSERT_EQ(torso->GetName(), "torso");
  b2Body* full = torso->CreatePhysicsBody(bodyMaterial(), &world, false);
  stickman->setScale(0.5);
  b2Body* half = torso->CreatePhysicsBody(bodyMaterial(), &world, false);
  const auto* fullBox = static_cast<const b2PolygonShape*>(full->GetFixtureList()->GetShape());
  const auto* halfBox = static_cast<const b2PolygonShape*>(half->GetFixtureList()->GetShape());
  // The torso is vertical: its box's extents are half length and half thickness.
  const auto extent = [](const b2PolygonShape* box) {
    b2Vec2 extent(0, 0);
    for (int i = 0; i < box->m_count; ++i)
      extent = b2Max(extent, b2Abs(box->m_vertices[i]));
    return extent;
  };
  EXPECT_NEAR(extent(halfBox).y, extent(fullBox).y / 2, 1e-5);
  EXPECT_NEAR(extent(halfBox).x, extent(fullBox).x / 2, 1e-5);
  EXPECT_NEAR(extent(fullBox).x, px2m(0.5 * 0.5 * bv::StickmanLimbsWidth), 1e-5);
}

TEST_F(RagdollTest, PicturesFollowTheBodies)
{
  const std::unique_ptr<Ragdoll> ragdoll(stickman->CreateRagdoll(bodyMaterial(), &world));
  world.Step(0.016f, 8, 3);
  ragdoll->Advance();
  for (const char* name : {"head", "torso", "left_shin"})
  {
    const Ragdoll::Element* element = ragdoll->FindElementByName(name);
    for (const QGraphicsItem* item : element->graphicsItems)
    {
      EXPECT_EQ(item->pos(), m2px(Vec2Point(element->body->GetPosition())));
      EXPECT_NEAR(item->rotation(), element->body->GetAngle() * 180 / M_PI, 1e-9);
    }
  }
}
