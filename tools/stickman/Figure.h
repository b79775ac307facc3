#pragma once

#include <QList>
#include <QPointF>
#include <QString>

#include <functional>

/// The stick figure described as a skeleton and key poses; FigureBuilder turns
/// it into a Stickman. Everything faces right in scene pixels with y down; the
/// ground is y = 0 and the figure stands on x = 0. Angles are screen degrees:
/// 0 points forward, 90 down, -90 up, 180 back.
namespace figure
{
struct Body
{
  double thigh;
  double shin;
  double torso;
  double neck;
  double upperArm;
  double forearm;
  double headRadius;
  double limbWidth;
  double torsoWidth;
  double neckWidth;
};

/// One arm or leg: either the directions of its two bones, or a point its end
/// reaches (the middle joint bends to the \a bend side: +1 forward, -1 back).
struct Limb
{
  enum Mode
  {
    Angles,
    Reach,
    /// Reach, relative to the limb's root (shoulders or pelvis).
    ReachFromRoot
  };
  Mode mode = Angles;
  double upper = 90;
  double lower = 90;
  QPointF target;
  int bend = 1;
};

struct Pose
{
  QPointF pelvis;
  double torso = -90;
  double neck = -90;
  Limb leftArm;
  Limb rightArm;
  Limb leftLeg;
  Limb rightLeg;
};

Limb bones(double upper, double lower);
Limb reach(double x, double y, int bend);
Limb reachFromRoot(double x, double y, int bend);

/// The same pose with every absolute point moved.
Pose shifted(Pose pose, QPointF offset);
/// Left and right limbs exchanged (the figure still faces right).
Pose swapped(Pose pose);
/// Mirrored about x = 0 and swapped: the other hand and foot lead on a ladder.
Pose mirrored(Pose pose);

struct Key
{
  double time;
  Pose pose;
};

/// An animation of \a frames postures: frame i shows time i + 1, time 0 is the
/// posture it starts from and time frames + 1 is its end posture moved by the
/// offset; keys lie strictly between.
struct Motion
{
  QString name;
  QString from;
  QString to;
  int frames;
  QList<Key> keys;
  QPointF offset;
  /// -1 for none.
  int keyFrame = -1;
};

struct Description
{
  Body body;
  /// Static postures by name.
  QList<QPair<QString, Pose>> postures;
  QList<Motion> motions;
};

/// The game's figure.
Description Describe();
} // namespace figure
