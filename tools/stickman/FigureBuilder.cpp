#include "FigureBuilder.h"

#include "common/Angles.h"
#include "common/GlobalConstants.h"
#include "stickman/Animation.h"
#include "stickman/DrawingPrimitive.h"
#include "stickman/Posture.h"
#include "stickman/Stickman.h"

#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <functional>

namespace figure
{
namespace
{
QPointF direction(double angle)
{
  return QPointF(std::cos(Degrees2Radians(angle)), std::sin(Degrees2Radians(angle)));
}

double angleOf(const QPointF& v)
{
  return Radians2Degrees(std::atan2(v.y(), v.x()));
}

double length(const QPointF& v)
{
  return std::hypot(v.x(), v.y());
}

struct LimbJoints
{
  QPointF middle;
  QPointF end;
};

// Two bones from root: by their directions, or bent to reach a point.
LimbJoints solveLimb(const QPointF& root, const Limb& limb, double a, double b)
{
  if (limb.mode == Limb::Angles)
  {
    const QPointF middle = root + a * direction(limb.upper);
    return {middle, middle + b * direction(limb.lower)};
  }
  const QPointF target = limb.mode == Limb::ReachFromRoot ? root + limb.target : limb.target;
  const QPointF toTarget = target - root;
  const double d = std::clamp(length(toTarget), std::abs(a - b) + 1e-6, a + b - 1e-6);
  const double cosine = std::clamp((a * a + d * d - b * b) / (2 * a * d), -1.0, 1.0);
  const double upper = angleOf(toTarget) - limb.bend * Radians2Degrees(std::acos(cosine));
  const QPointF middle = root + a * direction(upper);
  const QPointF toEnd = target - middle;
  const double toEndLength = length(toEnd);
  return {middle, middle + b * (toEndLength > 1e-9 ? toEnd / toEndLength : direction(upper))};
}

// Monotone cubic interpolation (Fritsch and Butland): smooth, and never beyond
// the values of the two keys around t.
class Curve
{
public:
  Curve(const QList<double>& times, const QList<double>& values, bool easeEnds)
    : m_times(times)
    , m_values(values)
  {
    const int n = times.size();
    QList<double> secants;
    for (int k = 0; k + 1 < n; ++k)
      secants.append((values[k + 1] - values[k]) / (times[k + 1] - times[k]));
    for (int k = 0; k < n; ++k)
    {
      double tangent = 0;
      if (k == 0)
        tangent = easeEnds ? 0 : secants.value(0);
      else if (k == n - 1)
        tangent = easeEnds ? 0 : secants.value(n - 2);
      else if (secants[k - 1] * secants[k] > 0)
      {
        const double h0 = times[k] - times[k - 1];
        const double h1 = times[k + 1] - times[k];
        const double w0 = 2 * h1 + h0;
        const double w1 = h1 + 2 * h0;
        tangent = (w0 + w1) / (w0 / secants[k - 1] + w1 / secants[k]);
      }
      m_tangents.append(tangent);
    }
  }

  double operator()(double t) const
  {
    int k = 0;
    while (k + 2 < m_times.size() && t > m_times[k + 1])
      ++k;
    const double h = m_times[k + 1] - m_times[k];
    const double s = (t - m_times[k]) / h;
    const double s2 = s * s;
    const double s3 = s2 * s;
    return (2 * s3 - 3 * s2 + 1) * m_values[k] + (s3 - 2 * s2 + s) * h * m_tangents[k] +
           (-2 * s3 + 3 * s2) * m_values[k + 1] + (s3 - s2) * h * m_tangents[k + 1];
  }

private:
  QList<double> m_times;
  QList<double> m_values;
  QList<double> m_tangents;
};

// Angles of successive keys taken the short way round.
QList<double> unwrapped(QList<double> angles)
{
  for (int k = 1; k < angles.size(); ++k)
  {
    while (angles[k] - angles[k - 1] > 180)
      angles[k] -= 360;
    while (angles[k] - angles[k - 1] < -180)
      angles[k] += 360;
  }
  return angles;
}

Pose namedPose(const Description& description, const QString& name, bool* found = nullptr)
{
  for (const auto& posture : description.postures)
    if (posture.first == name)
    {
      if (found)
        *found = true;
      return posture.second;
    }
  if (found)
    *found = false;
  return Pose();
}

using LimbField = Limb Pose::*;
constexpr LimbField Limbs[] = {&Pose::leftArm, &Pose::rightArm, &Pose::leftLeg, &Pose::rightLeg};

bool isArm(LimbField field)
{
  return field == &Pose::leftArm || field == &Pose::rightArm;
}

// The joints of one pose as a stickman posture.
Posture toPosture(const Skeleton& s, Stickman& stickman)
{
  Posture posture;
  const auto add = [&](const char* name, const QPointF& p) { posture.AddJointPosition(stickman.FindJoint(name), p); };
  add("head", s.head);
  add("shoulders", s.shoulders);
  add("pelvis", s.pelvis);
  add("left_elbow", s.leftElbow);
  add("left_hand", s.leftHand);
  add("left_knee", s.leftKnee);
  add("left_foot", s.leftFoot);
  add("right_elbow", s.rightElbow);
  add("right_hand", s.rightHand);
  add("right_knee", s.rightKnee);
  add("right_foot", s.rightFoot);
  return posture;
}
} // namespace

Skeleton Solve(const Body& body, const Pose& pose)
{
  Skeleton s;
  s.pelvis = pose.pelvis;
  s.shoulders = s.pelvis + body.torso * direction(pose.torso);
  s.head = s.shoulders + body.neck * direction(pose.neck);
  const LimbJoints leftArm = solveLimb(s.shoulders, pose.leftArm, body.upperArm, body.forearm);
  const LimbJoints rightArm = solveLimb(s.shoulders, pose.rightArm, body.upperArm, body.forearm);
  const LimbJoints leftLeg = solveLimb(s.pelvis, pose.leftLeg, body.thigh, body.shin);
  const LimbJoints rightLeg = solveLimb(s.pelvis, pose.rightLeg, body.thigh, body.shin);
  s.leftElbow = leftArm.middle;
  s.leftHand = leftArm.end;
  s.rightElbow = rightArm.middle;
  s.rightHand = rightArm.end;
  s.leftKnee = leftLeg.middle;
  s.leftFoot = leftLeg.end;
  s.rightKnee = rightLeg.middle;
  s.rightFoot = rightLeg.end;
  return s;
}

QList<Skeleton> Interpolate(const Description& description, const Motion& motion)
{
  QList<Key> keys;
  keys.append({0, namedPose(description, motion.from)});
  keys.append(motion.keys);
  keys.append({double(motion.frames + 1), shifted(namedPose(description, motion.to), motion.offset)});
  QList<double> times;
  for (const Key& key : keys)
    times.append(key.time);

  // A chained step leaves and reaches its end postures in motion; anything
  // else starts and stops at rest.
  const bool ease = !motion.name.startsWith("step") && !motion.name.contains("_step");
  const auto curve = [&](const std::function<double(const Pose&)>& value, bool angle) {
    QList<double> values;
    for (const Key& key : keys)
      values.append(value(key.pose));
    return Curve(times, angle ? unwrapped(values) : values, ease);
  };

  const Curve pelvisX = curve([](const Pose& p) { return p.pelvis.x(); }, false);
  const Curve pelvisY = curve([](const Pose& p) { return p.pelvis.y(); }, false);
  const Curve torso = curve([](const Pose& p) { return p.torso; }, true);
  const Curve neck = curve([](const Pose& p) { return p.neck; }, true);

  struct LimbCurves
  {
    Limb::Mode mode;
    Curve a;
    Curve b;
  };
  QList<LimbCurves> limbCurves;
  for (LimbField field : Limbs)
  {
    Limb::Mode mode = (keys.first().pose.*field).mode;
    for (const Key& key : keys)
      if ((key.pose.*field).mode != mode)
        mode = Limb::Angles;
    if (mode == Limb::Angles)
    {
      // Reached points become bone directions of the key's own skeleton.
      QList<double> uppers;
      QList<double> lowers;
      for (const Key& key : keys)
      {
        const Skeleton s = Solve(description.body, key.pose);
        const QPointF root = isArm(field) ? s.shoulders : s.pelvis;
        const QPointF middle = field == &Pose::leftArm    ? s.leftElbow
                               : field == &Pose::rightArm ? s.rightElbow
                               : field == &Pose::leftLeg  ? s.leftKnee
                                                          : s.rightKnee;
        const QPointF end = field == &Pose::leftArm    ? s.leftHand
                            : field == &Pose::rightArm ? s.rightHand
                            : field == &Pose::leftLeg  ? s.leftFoot
                                                       : s.rightFoot;
        uppers.append(angleOf(middle - root));
        lowers.append(angleOf(end - middle));
      }
      limbCurves.append({mode, Curve(times, unwrapped(uppers), ease), Curve(times, unwrapped(lowers), ease)});
    }
    else
      limbCurves.append({mode, curve([field](const Pose& p) { return (p.*field).target.x(); }, false),
                         curve([field](const Pose& p) { return (p.*field).target.y(); }, false)});
  }

  QList<Skeleton> result;
  for (int frame = 0; frame < motion.frames; ++frame)
  {
    const double t = frame + 1;
    int previous = 0;
    while (previous + 1 < keys.size() && keys[previous + 1].time <= t)
      ++previous;
    Pose pose;
    pose.pelvis = QPointF(pelvisX(t), pelvisY(t));
    pose.torso = torso(t);
    pose.neck = neck(t);
    for (int i = 0; i < 4; ++i)
    {
      Limb& limb = pose.*Limbs[i];
      limb.mode = limbCurves[i].mode;
      limb.bend = (keys[previous].pose.*Limbs[i]).bend;
      if (limb.mode == Limb::Angles)
      {
        limb.upper = limbCurves[i].a(t);
        limb.lower = limbCurves[i].b(t);
      }
      else
        limb.target = QPointF(limbCurves[i].a(t), limbCurves[i].b(t));
    }
    result.append(Solve(description.body, pose));
  }
  return result;
}

bool Build(const Description& description, Stickman& stickman)
{
  QTextStream err(stderr);
  const Body& body = description.body;
  for (const char* name : {"head", "shoulders", "pelvis", "left_elbow", "left_hand", "left_knee", "left_foot",
                           "right_elbow", "right_hand", "right_knee", "right_foot"})
    stickman.AddJoint(name);
  const auto joint = [&stickman](const char* name) { return stickman.FindJoint(name); };
  stickman.SetKeyPoints(joint("right_hand"), joint("right_elbow"));

  // Z order for the figure facing right: the right limbs are nearer the viewer.
  const QColor color = bv::PlayerStickmanColor;
  const auto line = [&](const char* name, const char* from, const char* to, double width, double z) {
    stickman.AddDrawingPrimitive(DrawingPrimitive::CreateLine(name, joint(from), joint(to), width, color, z));
  };
  line("left_arm", "shoulders", "left_elbow", body.limbWidth, -2);
  line("left_forearm", "left_elbow", "left_hand", body.limbWidth, -2);
  line("left_thigh", "pelvis", "left_knee", body.limbWidth, -1);
  line("left_shin", "left_knee", "left_foot", body.limbWidth, -1);
  line("torso", "shoulders", "pelvis", body.torsoWidth, 0);
  line("neck", "shoulders", "head", body.neckWidth, 0);
  stickman.AddDrawingPrimitive(DrawingPrimitive::CreateCircle("head", joint("head"), body.headRadius, color, 0));
  line("right_thigh", "pelvis", "right_knee", body.limbWidth, 1);
  line("right_shin", "right_knee", "right_foot", body.limbWidth, 1);
  line("right_arm", "shoulders", "right_elbow", body.limbWidth, 2);
  line("right_forearm", "right_elbow", "right_hand", body.limbWidth, 2);

  // Limits around the pose at the moment of death, for the figure facing
  // right: positive turns clockwise on screen (a knee bends that way).
  const auto ragdollJoint = [&stickman](const char* a, const char* b, const char* anchor, double from, double to) {
    stickman.AddRagdollJoint({a, b, anchor, Degrees2Radians(from), Degrees2Radians(to)});
  };
  ragdollJoint("neck", "head", "head", -15, 15);
  ragdollJoint("torso", "neck", "shoulders", -20, 20);
  ragdollJoint("torso", "left_arm", "shoulders", -160, 70);
  ragdollJoint("torso", "right_arm", "shoulders", -160, 70);
  ragdollJoint("left_arm", "left_forearm", "left_elbow", -140, 5);
  ragdollJoint("right_arm", "right_forearm", "right_elbow", -140, 5);
  ragdollJoint("torso", "left_thigh", "pelvis", -120, 50);
  ragdollJoint("torso", "right_thigh", "pelvis", -120, 50);
  ragdollJoint("left_thigh", "left_shin", "left_knee", -5, 140);
  ragdollJoint("right_thigh", "right_shin", "right_knee", -5, 140);

  for (const auto& posture : description.postures)
  {
    Posture* target = stickman.AddStaticPosture(posture.first);
    if (!target)
    {
      err << "posture " << posture.first << " is described twice\n";
      return false;
    }
    *target = toPosture(Solve(body, posture.second), stickman);
  }

  for (const Motion& motion : description.motions)
  {
    bool fromFound = false;
    bool toFound = false;
    namedPose(description, motion.from, &fromFound);
    namedPose(description, motion.to, &toFound);
    if (!fromFound || !toFound || motion.frames < 1)
    {
      err << "animation " << motion.name << " starts or ends in an unknown posture, or has no frames\n";
      return false;
    }
    for (int k = 0; k < motion.keys.size(); ++k)
      if (motion.keys[k].time <= (k ? motion.keys[k - 1].time : 0) || motion.keys[k].time >= motion.frames + 1)
      {
        err << "animation " << motion.name << " has a key out of order\n";
        return false;
      }
    Animation* animation = stickman.AddAnimation(motion.name);
    if (!animation)
    {
      err << "animation " << motion.name << " is described twice\n";
      return false;
    }
    for (const Skeleton& skeleton : Interpolate(description, motion))
      animation->AddPosture(toPosture(skeleton, stickman));
    animation->SetEndPosture(stickman.GetStaticPosture(motion.to));
    animation->SetOffset(motion.offset.x(), motion.offset.y());
    if (motion.keyFrame >= 0)
      animation->SetKeyFrame(motion.keyFrame);
  }
  return true;
}

double StandingHeight(const Description& description)
{
  QTemporaryDir dir;
  const QString path = dir.filePath("figure.xml");
  {
    Stickman stickman(nullptr, nullptr, nullptr);
    if (!Build(description, stickman) || !stickman.Save(path))
      return 0;
  }
  Stickman loaded(nullptr, nullptr, nullptr);
  return loaded.Load(path) ? loaded.boundingRect().height() : 0;
}

bool Generate(const QString& fileName)
{
  Description description = Describe();
  // The head tops the figure, so its height follows the torso's length
  // almost one to one: a few secant steps make it exact.
  double torso = description.body.torso;
  double height = StandingHeight(description);
  for (int i = 0; i < 4 && std::abs(height - bv::StickmanHeightPx) > 1e-9; ++i)
  {
    description.body.torso = torso + 1;
    const double slope = StandingHeight(description) - height;
    if (std::abs(slope) < 1e-6)
      break;
    torso += (bv::StickmanHeightPx - height) / slope;
    description.body.torso = torso;
    height = StandingHeight(description);
  }
  description.body.torso = torso;
  Stickman stickman(nullptr, nullptr, nullptr);
  return Build(description, stickman) && stickman.Save(fileName);
}
} // namespace figure
