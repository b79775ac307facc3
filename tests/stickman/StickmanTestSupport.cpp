#include "StickmanTestSupport.h"

#include "stickman/Animation.h"
#include "stickman/DrawingPrimitive.h"
#include "stickman/Posture.h"
#include "stickman/Stickman.h"

#include <QFile>
#include <QMap>

namespace stickmantest
{
QString WriteFile(const QTemporaryDir& dir, const QString& name, const QString& text)
{
  const QString path = dir.filePath(name);
  QFile file(path);
  if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
    file.write(text.toUtf8());
  return path;
}

namespace
{
using Positions = QMap<QString, QPointF>;

// Facing right, feet on y = 0; the left leg in front.
Positions standingLeft()
{
  return {{"head", {0, -150}},       {"neck", {0, -125}},       {"pelvis", {0, -70}},
          {"left_elbow", {-5, -100}}, {"left_hand", {-5, -75}},  {"right_elbow", {5, -100}},
          {"right_hand", {5, -75}},   {"left_knee", {5, -35}},   {"left_foot", {10, 0}},
          {"right_knee", {-5, -35}},  {"right_foot", {-10, 0}}};
}

Positions climbingRight()
{
  Positions p = standingLeft();
  p["right_elbow"] = {10, -140};
  p["right_hand"] = {10, -165};
  p["left_elbow"] = {-10, -120};
  p["left_hand"] = {-10, -132};
  return p;
}

Posture makePosture(Stickman& stickman, const Positions& positions, double dx = 0, double dy = 0)
{
  Posture posture;
  for (Joint* joint : stickman.GetJoints())
    posture.AddJointPosition(joint, positions.value(joint->name) + QPointF(dx, dy));
  return posture;
}

void addPosture(Stickman& stickman, const QString& name, const Posture& posture)
{
  *stickman.AddStaticPosture(name) = posture;
}

void addAnimation(Stickman& stickman, const QString& name, int frames, const Posture& base, QPointF offset,
                  const QString& endPosture, int keyFrame = -1)
{
  Animation* animation = stickman.AddAnimation(name);
  for (int i = 0; i < frames; ++i)
  {
    Posture posture = base;
    const double t = double(i + 1) / (frames + 1);
    posture.Offset(offset.x() * t, offset.y() * t);
    animation->AddPosture(posture);
  }
  animation->SetOffset(offset.x(), offset.y());
  animation->SetEndPosture(stickman.GetStaticPosture(endPosture));
  if (keyFrame >= 0)
    animation->SetKeyFrame(keyFrame);
}
} // namespace

void BuildFigure(Stickman& stickman)
{
  for (const QString& name : standingLeft().keys())
    stickman.AddJoint(name);
  const auto joint = [&stickman](const char* name) { return stickman.FindJoint(QString::fromLatin1(name)); };
  stickman.SetKeyPoints(joint("right_hand"), joint("right_elbow"));

  const QColor color(Qt::blue);
  const auto line = [&](const char* name, const char* from, const char* to, double z) {
    stickman.AddDrawingPrimitive(DrawingPrimitive::CreateLine(name, joint(from), joint(to), 0.5, color, z));
  };
  line("left_upper_arm", "neck", "left_elbow", -2);
  line("left_forearm", "left_elbow", "left_hand", -2);
  line("left_thigh", "pelvis", "left_knee", -1);
  line("left_shin", "left_knee", "left_foot", -1);
  line("torso", "neck", "pelvis", 0);
  line("neck", "neck", "head", 0);
  stickman.AddDrawingPrimitive(DrawingPrimitive::CreateCircle("head", joint("head"), 10, color, 0.5));
  line("right_thigh", "pelvis", "right_knee", 1);
  line("right_shin", "right_knee", "right_foot", 1);
  line("right_upper_arm", "neck", "right_elbow", 2);
  line("right_forearm", "right_elbow", "right_hand", 2);

  const auto ragdollJoint = [&stickman](const char* a, const char* b, const char* anchor, double lower,
                                        double upper) {
    stickman.AddRagdollJoint({a, b, anchor, lower, upper});
  };
  ragdollJoint("neck", "head", "head", -0.5, 0.5);
  ragdollJoint("torso", "neck", "neck", -0.5, 0.5);
  ragdollJoint("torso", "left_upper_arm", "neck", -2.5, 1.0);
  ragdollJoint("torso", "right_upper_arm", "neck", -2.5, 1.0);
  ragdollJoint("left_upper_arm", "left_forearm", "left_elbow", -2.4, 0.1);
  ragdollJoint("right_upper_arm", "right_forearm", "right_elbow", -2.4, 0.1);
  ragdollJoint("torso", "left_thigh", "pelvis", -2.0, 0.5);
  ragdollJoint("torso", "right_thigh", "pelvis", -2.0, 0.5);
  ragdollJoint("left_thigh", "left_shin", "left_knee", -0.1, 2.4);
  ragdollJoint("right_thigh", "right_shin", "right_knee", -0.1, 2.4);

  const Posture left = makePosture(stickman, standingLeft());
  Posture right = left;
  right.SwapLimbs(SwapArmsAndLegs);
  const Posture climbRight = makePosture(stickman, climbingRight());
  Posture climbLeft = climbRight;
  climbLeft.SwapLimbs(SwapArmsAndLegs);
  Posture swordLeft = left;
  swordLeft.SetJointPosition(joint("right_hand"), {30, -100});
  Posture swordRight = swordLeft;
  swordRight.SwapLimbs(SwapLegs);
  addPosture(stickman, "standing-left", left);
  addPosture(stickman, "standing-right", right);
  addPosture(stickman, "climbing-right", climbRight);
  addPosture(stickman, "climbing-left", climbLeft);
  addPosture(stickman, "sword_standing-left", swordLeft);
  addPosture(stickman, "sword_standing-right", swordRight);

  for (const QString& side : {QStringLiteral("left"), QStringLiteral("right")})
  {
    const QString other = side == "left" ? "right" : "left";
    const Posture& base = side == "left" ? left : right;
    const Posture& climbing = side == "left" ? climbLeft : climbRight;
    addAnimation(stickman, "step-" + side, 30, base, {40, 0}, "standing-" + other);
    addAnimation(stickman, "jump-" + side, 10, base, {20, -30}, "standing-" + side, 4);
    addAnimation(stickman, "falling_down-" + side, 6, base, {}, "standing-" + side);
    addAnimation(stickman, "land-" + side, 6, base, {}, "standing-" + side);
    addAnimation(stickman, "climbup-" + side, 8, climbing, {0, -33}, "climbing-" + other);
    addAnimation(stickman, "climbdown-" + side, 8, climbing, {0, 33}, "climbing-" + other);
    addAnimation(stickman, "swing-" + side, 12, base, {}, "standing-" + side, 6);
    addAnimation(stickman, "sword_swing-" + side, 16, side == "left" ? swordLeft : swordRight, {},
                 "sword_standing-" + side, 8);
    addAnimation(stickman, "sword_jump-" + side, 10, base, {20, -30}, "standing-" + side, 4);
  }
}

std::unique_ptr<Stickman> MakeFigure(QGraphicsScene* scene, MoveConstraints* constraints)
{
  QTemporaryDir dir;
  const QString path = dir.filePath("figure.xml");
  {
    Stickman source(nullptr, nullptr, nullptr);
    BuildFigure(source);
    source.Save(path);
  }
  auto stickman = std::make_unique<Stickman>(nullptr, scene, constraints);
  stickman->Load(path);
  return stickman;
}
} // namespace stickmantest
