// The game's figure, data/stickman.xml, as the game loads it.

#include "common/ConvertUtils.h"
#include "common/GlobalConstants.h"
#include "common/Material.h"
#include "stickman/Animation.h"
#include "stickman/Posture.h"
#include "stickman/Ragdoll.h"
#include "stickman/Stickman.h"

#include <box2d/b2_body.h>
#include <box2d/b2_fixture.h>
#include <box2d/b2_joint.h>
#include <box2d/b2_polygon_shape.h>
#include <box2d/b2_world.h>

#include <QFile>
#include <QGraphicsScene>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

namespace
{
const QString DataFile = QStringLiteral(BV_DATA_DIR "/stickman.xml");

const QStringList Animations{"step", "jump", "falling_down", "land", "climbup", "climbdown", "swing",
                             "shoot", "eat", "play", "unlock", "saw"};

// Bones as pairs of joint names.
const QList<QPair<QString, QString>> Bones{
    {"pelvis", "shoulders"},   {"shoulders", "head"},       {"shoulders", "left_elbow"}, {"left_elbow", "left_hand"},
    {"shoulders", "right_elbow"}, {"right_elbow", "right_hand"}, {"pelvis", "left_knee"}, {"left_knee", "left_foot"},
    {"pelvis", "right_knee"},  {"right_knee", "right_foot"}};

class FigureDataTest : public ::testing::Test
{
protected:
  void SetUp() override { ASSERT_TRUE(stickman.Load(DataFile)); }

  QPointF at(const Posture& posture, const char* joint) const
  {
    return posture.GetJointPosition(stickman.FindJoint(joint));
  }

  QGraphicsScene scene;
  Stickman stickman{nullptr, &scene, nullptr};
};

QByteArray contents(const QString& path)
{
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

double distance(const QPointF& a, const QPointF& b)
{
  return std::hypot(a.x() - b.x(), a.y() - b.y());
}
} // namespace

TEST(FigureSourceTest, TheCommittedFileIsWhatTheGeneratorWrites)
{
  QTemporaryDir dir;
  const QString generated = dir.filePath("stickman.xml");
  QProcess generator;
  generator.start(QStringLiteral(BV_STICKMAN_TOOL), {"generate", generated});
  ASSERT_TRUE(generator.waitForFinished(60000));
  ASSERT_EQ(generator.exitCode(), 0) << generator.readAllStandardError().toStdString();
  EXPECT_TRUE(contents(generated) == contents(DataFile))
      << "data/stickman.xml is out of date: run brisvel-stickman generate data/stickman.xml";
}

TEST_F(FigureDataTest, HasEveryAnimationInBothVariantsWithEndPostures)
{
  for (const QString& base : Animations)
    for (const QString& side : {QStringLiteral("right"), QStringLiteral("left")})
    {
      const QString name = base + "-" + side;
      const Animation* animation = stickman.GetAnimation(name);
      ASSERT_NE(animation, nullptr) << name.toStdString();
      EXPECT_GE(animation->GetPostures().size(), 10) << name.toStdString();
      EXPECT_NE(animation->GetEndPosture(), nullptr) << name.toStdString();
      const bool usage = Animations.indexOf(base) >= Animations.indexOf("swing");
      if (usage || base == "jump")
      {
        ASSERT_TRUE(animation->HasKeyFrame()) << name.toStdString();
        EXPECT_LT(animation->GetKeyFrame(), animation->GetPostures().size());
      }
      if (usage)
      {
        EXPECT_EQ(animation->GetEndPosture(), stickman.GetStaticPosture("standing-" + side));
      }
    }
  for (const char* name : {"standing-right", "standing-left", "climbing-right", "climbing-left"})
    EXPECT_NE(stickman.GetStaticPosture(name), nullptr) << name;
  ASSERT_NE(stickman.GetHolderJoint(), nullptr);
  ASSERT_NE(stickman.GetHolderElbowJoint(), nullptr);
  EXPECT_NE(stickman.GetDrawingPrimitives().size(), 0);
  EXPECT_EQ(stickman.GetRagdollJoints().size(), stickman.GetDrawingPrimitives().size() - 1);
}

TEST_F(FigureDataTest, IsDrawnAtItsGameSizeSoOffsetsAreScenePixels)
{
  EXPECT_NEAR(stickman.boundingRect().height(), bv::StickmanHeightPx, 1e-3);
  EXPECT_NEAR(stickman.GetAnimation("step-left")->GetOffset().x(), 50, 5);
  EXPECT_EQ(stickman.GetAnimation("step-left")->GetPostures().size(), 30);
  // A step starts from the leading leg's stance and ends on the other's.
  EXPECT_EQ(stickman.GetAnimation("step-left")->GetEndPosture(), stickman.GetStaticPosture("standing-right"));
  EXPECT_EQ(stickman.GetAnimation("step-right")->GetEndPosture(), stickman.GetStaticPosture("standing-left"));
  for (const char* side : {"-right", "-left"})
  {
    EXPECT_EQ(stickman.GetAnimation(QString("climbup") + side)->GetOffset(), QPointF(0, -bv::LadderCleatsDistance));
    EXPECT_EQ(stickman.GetAnimation(QString("climbdown") + side)->GetOffset(), QPointF(0, bv::LadderCleatsDistance));
    EXPECT_LT(stickman.GetAnimation(QString("jump") + side)->GetOffset().y(), 0);
  }
}

TEST_F(FigureDataTest, OnALadderTheUpperHandIsFiveRungsAboveTheLowerFoot)
{
  const Posture* right = stickman.GetStaticPosture("climbing-right");
  const Posture* left = stickman.GetStaticPosture("climbing-left");
  const double rungs = bv::CleatsDistanceBetweenStickmanUpperHandAndLowerFoot * bv::LadderCleatsDistance;
  EXPECT_NEAR(at(*right, "right_foot").y() - at(*right, "right_hand").y(), rungs, 1e-3);
  EXPECT_NEAR(at(*left, "left_foot").y() - at(*left, "left_hand").y(), rungs, 1e-3);
  // The holding (right) hand is a rung lower when the left hand leads.
  EXPECT_NEAR(at(*left, "right_hand").y() - at(*left, "left_hand").y(), bv::LadderCleatsDistance, 1e-3);

  // Climbing up one rung keeps the leading hand where it was.
  const Posture& last = stickman.GetAnimation("climbup-right")->GetPostures().last();
  EXPECT_NEAR(distance(at(last, "right_hand"), at(*right, "right_hand")), 0, 0.5);
  EXPECT_NEAR(distance(at(*left, "right_hand") + QPointF(0, -bv::LadderCleatsDistance), at(*right, "right_hand")), 0,
              1e-3);
}

TEST_F(FigureDataTest, EveryPostureKeepsTheBoneLengths)
{
  const Posture* standing = stickman.GetStaticPosture("standing-right");
  const auto check = [&](const Posture& posture, const QString& where) {
    for (const auto& bone : Bones)
    {
      const Joint* a = stickman.FindJoint(bone.first);
      const Joint* b = stickman.FindJoint(bone.second);
      const double expected = distance(standing->GetJointPosition(a), standing->GetJointPosition(b));
      EXPECT_NEAR(distance(posture.GetJointPosition(a), posture.GetJointPosition(b)), expected, 0.01)
          << where.toStdString() << ": " << bone.first.toStdString() << "-" << bone.second.toStdString();
    }
  };
  for (const QString& name : stickman.GetStaticPostureNames())
    check(*stickman.GetStaticPosture(name), name);
  for (const QString& name : stickman.GetAnimationNames())
  {
    const QList<Posture>& postures = stickman.GetAnimation(name)->GetPostures();
    for (int i = 0; i < postures.size(); ++i)
      check(postures[i], QString("%1 frame %2").arg(name).arg(i));
  }
}

TEST_F(FigureDataTest, AWalkingStepKeepsTheStanceFootPlantedAndMovesSmoothly)
{
  const double ground = at(*stickman.GetStaticPosture("standing-left"), "left_foot").y();
  for (const char* name : {"step-left", "step-right"})
  {
    const Animation* step = stickman.GetAnimation(name);
    const char* stance = QString(name).endsWith("left") ? "left_foot" : "right_foot";
    const char* swing = QString(name).endsWith("left") ? "right_foot" : "left_foot";
    const QPointF planted = at(*stickman.GetStaticPosture(QString("standing-") + (stance[0] == 'l' ? "left" : "right")),
                               stance);
    double highest = ground;
    QPointF previousPelvis = at(*stickman.GetStaticPosture("standing-left"), "pelvis");
    for (const Posture& posture : step->GetPostures())
    {
      EXPECT_NEAR(distance(at(posture, stance), planted), 0, 0.01) << name;
      EXPECT_LE(at(posture, swing).y(), ground + 0.01) << name;
      highest = std::min(highest, at(posture, swing).y());
      // The body moves forward at an even pace: no frame jumps.
      const double advance = at(posture, "pelvis").x() - previousPelvis.x();
      EXPECT_GT(advance, 0.5) << name;
      EXPECT_LT(advance, 3.0) << name;
      previousPelvis = at(posture, "pelvis");
    }
    EXPECT_LT(highest, ground - 8) << name << ": the swinging foot is lifted";
  }
}

TEST_F(FigureDataTest, TheRagdollFallsAndComesToRestOnTheGroundInOnePiece)
{
  b2World world(b2Vec2(0, float(bv::FreeFallAcceleration)));
  b2BodyDef groundDefinition;
  groundDefinition.position.Set(0, 0.5f);
  b2Body* ground = world.CreateBody(&groundDefinition);
  b2PolygonShape groundBox;
  groundBox.SetAsBox(20, 0.5f);
  b2FixtureDef groundFixture;
  groundFixture.shape = &groundBox;
  groundFixture.friction = 0.8f;
  ground->CreateFixture(&groundFixture);

  // Standing on the ground (y = 0), as the game kills it, mid-step.
  stickman.setPos(0, 0);
  stickman.GetAnimation("step-right")->GetPostureAt(12)->Apply();
  stickman.UpdateCurrentPosture();
  Material material;
  // The game's "body" material.
  material.friction = 0.6;
  material.restitution = 0.05;
  material.density = 0.95;
  const std::unique_ptr<Ragdoll> ragdoll(stickman.CreateRagdoll(material, &world));
  ASSERT_EQ(world.GetJointCount(), stickman.GetRagdollJoints().size());

  const int ticks = int(std::lround(3.0 / bv::TickIntervalSec));
  for (int i = 0; i < ticks; ++i)
  {
    world.Step(float(bv::TickIntervalSec), bv::PhysicsVelocityIterators, bv::PhysicsPositionIterators);
    ragdoll->Advance();
  }

  for (b2Body* body = world.GetBodyList(); body; body = body->GetNext())
  {
    if (body == ground)
      continue;
    const b2Vec2 position = body->GetPosition();
    ASSERT_TRUE(std::isfinite(position.x) && std::isfinite(position.y) && std::isfinite(body->GetAngle()));
    EXPECT_LT(body->GetLinearVelocity().Length(), 0.05f);
    EXPECT_LT(std::abs(body->GetAngularVelocity()), 0.1f);
    // Lying on the ground: the lowest point touches it, nothing sinks in.
    b2AABB box;
    body->GetFixtureList()->GetShape()->ComputeAABB(&box, body->GetTransform(), 0);
    EXPECT_NEAR(box.upperBound.y, 0.0, 0.25) << "a part hangs in the air";
    EXPECT_GT(box.upperBound.y, -0.3);
    EXPECT_LT(box.upperBound.y, 0.03) << "a part sank into the ground";
  }
  for (b2Joint* joint = world.GetJointList(); joint; joint = joint->GetNext())
    EXPECT_LT(m2px((joint->GetAnchorA() - joint->GetAnchorB()).Length()), 3.0) << "a joint came apart";
  for (const QGraphicsItem* item : ragdoll->FindElementByName("head")->graphicsItems)
    EXPECT_EQ(item->pos(), m2px(Vec2Point(ragdoll->FindElementByName("head")->body->GetPosition())));
}
