#include "Figure.h"

#include <QStringList>

// The game's stick figure: its body, its key poses and the timing of its
// animations. Each animation lists only the poses between the posture it
// starts from and the one it ends in; the builder fills in every frame.

namespace figure
{
Limb bones(double upper, double lower)
{
  Limb limb;
  limb.upper = upper;
  limb.lower = lower;
  return limb;
}

Limb reach(double x, double y, int bend)
{
  Limb limb;
  limb.mode = Limb::Reach;
  limb.target = QPointF(x, y);
  limb.bend = bend;
  return limb;
}

Limb reachFromRoot(double x, double y, int bend)
{
  Limb limb = reach(x, y, bend);
  limb.mode = Limb::ReachFromRoot;
  return limb;
}

Pose shifted(Pose pose, QPointF offset)
{
  pose.pelvis += offset;
  for (Limb* limb : {&pose.leftArm, &pose.rightArm, &pose.leftLeg, &pose.rightLeg})
    if (limb->mode == Limb::Reach)
      limb->target += offset;
  return pose;
}

Pose swapped(Pose pose)
{
  std::swap(pose.leftArm, pose.rightArm);
  std::swap(pose.leftLeg, pose.rightLeg);
  return pose;
}

Pose mirrored(Pose pose)
{
  const auto mirror = [](double angle) { return 180 - angle; };
  pose.pelvis.setX(-pose.pelvis.x());
  pose.torso = mirror(pose.torso);
  pose.neck = mirror(pose.neck);
  for (Limb* limb : {&pose.leftArm, &pose.rightArm, &pose.leftLeg, &pose.rightLeg})
  {
    limb->upper = mirror(limb->upper);
    limb->lower = mirror(limb->lower);
    limb->target.setX(-limb->target.x());
    limb->bend = -limb->bend;
  }
  return swapped(pose);
}

namespace
{
// Knees bend forward, elbows back.
constexpr int Knee = 1;
constexpr int Elbow = -1;

// One step: the figure moves this far, its feet this far apart when standing.
constexpr double Stride = 50;
constexpr double Rung = 33;

using Arms = QPair<Limb, Limb>; // right (the holding hand), left

// Standing with the left foot in front: the right arm swings forward, as in
// the middle of a walk.
Pose standingLeft()
{
  Pose p;
  p.pelvis = {0, -84};
  p.torso = -87;
  p.neck = -84;
  p.leftLeg = reach(Stride / 2, 0, Knee);
  p.rightLeg = reach(-Stride / 2, 0, Knee);
  p.rightArm = bones(74, 58);
  p.leftArm = bones(104, 96);
  return p;
}

// In the air at the top of a jump, legs tucked.
Pose jumpingLeft()
{
  Pose p;
  p.pelvis = {0, -70};
  p.torso = -82;
  p.neck = -80;
  p.leftLeg = reach(16, -6, Knee);
  p.rightLeg = reach(-10, 0, Knee);
  p.rightArm = bones(-30, -45);
  p.leftArm = bones(-12, -28);
  return p;
}

// Falling, legs reaching for the ground.
Pose fallingLeft()
{
  Pose p;
  p.pelvis = {0, -85};
  p.torso = -86;
  p.neck = -82;
  p.leftLeg = reach(Stride / 2, 0, Knee);
  p.rightLeg = reach(-Stride / 2, 0, Knee);
  p.rightArm = bones(-20, -30);
  p.leftArm = bones(10, 0);
  return p;
}

// Seen from behind on a ladder: the lower foot on the rung the figure stands
// on, the right hand five rungs higher, the other hand and foot a rung in between.
Pose climbingRight()
{
  Pose p;
  p.pelvis = {0, -72};
  p.torso = -90;
  p.neck = -90;
  p.rightArm = reach(34, -5 * Rung, Elbow);
  p.leftArm = reach(-34, -4 * Rung, -Elbow);
  p.rightLeg = reach(12, 0, Knee);
  p.leftLeg = reach(-12, -Rung, -Knee);
  return p;
}

Key key(double time, Pose pose)
{
  return {time, pose};
}

Pose with(Pose pose, const Arms& arms, double torso = -87, double neck = -84)
{
  pose.rightArm = arms.first;
  pose.leftArm = arms.second;
  pose.torso = torso;
  pose.neck = neck;
  return pose;
}

QString sideName(bool left)
{
  return left ? QStringLiteral("left") : QStringLiteral("right");
}

// Side-view poses are described with the left leg leading; the right-leading
// variant swaps the legs and arms.
Pose side(const Pose& leftLeading, bool left)
{
  return left ? leftLeading : swapped(leftLeading);
}

// A walking step from the left foot in front: the right leg swings through
// while the left foot stays planted, the body rises over it and the arms swing.
Motion step(bool left)
{
  const auto at = [left](double t, double pelvisY, Limb swingFoot, Arms arms) {
    Pose p = standingLeft();
    p.pelvis = {Stride * t / 31, pelvisY};
    p.torso = -86;
    p.rightLeg = swingFoot;
    p.rightArm = arms.first;
    p.leftArm = arms.second;
    return key(t, side(p, left));
  };
  Motion m{"step-" + sideName(left), "standing-" + sideName(left), "standing-" + sideName(!left), 30, {},
           {Stride, 0}};
  m.keys = {at(6, -85, reach(-23, -3, Knee), {bones(80, 66), bones(98, 90)}),
            at(15.5, -87.5, reach(25, -13, Knee), {bones(91, 84), bones(89, 76)}),
            at(24, -86, reach(62, -7, Knee), {bones(100, 91), bones(80, 64)})};
  return m;
}

// Crouch, swing the arms and push off; the take-off is the key frame.
Motion jump(bool left)
{
  const auto at = [left](double t, QPointF pelvis, double torso, Limb front, Limb back, Arms arms) {
    Pose p = standingLeft();
    p.pelvis = pelvis;
    p.torso = torso;
    p.neck = torso + 6;
    p.leftLeg = front;
    p.rightLeg = back;
    p.rightArm = arms.first;
    p.leftArm = arms.second;
    return key(t, side(p, left));
  };
  const Limb front = reach(Stride / 2, 0, Knee);
  const Limb back = reach(-Stride / 2, 0, Knee);
  Motion m{"jump-" + sideName(left), "standing-" + sideName(left), "jumping-" + sideName(left), 24, {}, {45, -65},
           12};
  m.keys = {at(6, {3, -72}, -74, front, back, {bones(125, 105), bones(130, 112)}),
            at(10, {5, -63}, -64, front, back, {bones(145, 128), bones(148, 132)}),
            at(13, {14, -86}, -76, front, reach(-20, -3, Knee), {bones(60, 35), bones(70, 50)}),
            at(17, {26, -110}, -82, reach(40, -24, Knee), reach(6, -32, Knee), {bones(-55, -70), bones(-40, -55)})};
  return m;
}

Motion fallingDown(bool left)
{
  Pose middle = jumpingLeft();
  middle.pelvis = {0, -80};
  middle.leftLeg = reach(22, -3, Knee);
  middle.rightLeg = reach(-16, 0, Knee);
  middle.rightArm = bones(-30, -45);
  middle.leftArm = bones(0, -15);
  return {"falling_down-" + sideName(left), "jumping-" + sideName(left), "falling-" + sideName(left), 14,
          {key(7, side(middle, left))}, {0, 0}};
}

// The knees give under the landing, then the figure straightens up.
Motion land(bool left)
{
  Pose impact = standingLeft();
  impact.pelvis = {2, -64};
  impact.torso = -68;
  impact.neck = -70;
  impact.rightArm = bones(45, 20);
  impact.leftArm = bones(60, 35);
  Pose rising = standingLeft();
  rising.pelvis = {1, -77};
  rising.torso = -80;
  rising.neck = -80;
  rising.rightArm = bones(65, 45);
  rising.leftArm = bones(90, 75);
  return {"land-" + sideName(left), "falling-" + sideName(left), "standing-" + sideName(left), 18,
          {key(5, side(impact, left)), key(11, side(rising, left))}, {0, 0}};
}

// Hand over hand, seen from behind: climbing up moves the lower hand and the
// lower foot two rungs up and the body one rung; the other hand and foot hold.
Motion climbUpRight()
{
  const auto at = [](double t, double pelvisY, Limb leftHand, Limb rightFoot) {
    Pose p = climbingRight();
    p.pelvis = {0, pelvisY};
    p.leftArm = leftHand;
    p.rightLeg = rightFoot;
    return key(t, p);
  };
  Motion m{"climbup-right", "climbing-right", "climbing-left", 20, {}, {0, -Rung}};
  m.keys = {at(5, -76, reach(-41, -140, -Elbow), reach(12, 0, Knee)),
            at(10, -88, reach(-41, -186, -Elbow), reach(19, -26, Knee)),
            at(15, -100, reach(-36, -200, -Elbow), reach(17, -60, Knee))};
  return m;
}

Motion climbDownRight()
{
  const auto at = [](double t, double pelvisY, Limb rightHand, Limb leftFoot) {
    Pose p = climbingRight();
    p.pelvis = {0, pelvisY};
    p.rightArm = rightHand;
    p.leftLeg = leftFoot;
    return key(t, p);
  };
  Motion m{"climbdown-right", "climbing-right", "climbing-left", 20, {}, {0, Rung}};
  m.keys = {at(5, -64, reach(34, -5 * Rung, Elbow), reach(-18, -12, -Knee)),
            at(10, -52, reach(41, -150, Elbow), reach(-18, 22, -Knee)),
            at(15, -43, reach(40, -110, Elbow), reach(-13, 33, -Knee))};
  return m;
}

// The same climb with the other hand leading.
Motion mirroredClimb(Motion m)
{
  m.name.replace("-right", "-left");
  std::swap(m.from, m.to);
  for (Key& k : m.keys)
    k.pose = mirrored(k.pose);
  return m;
}

// An animation of the arms (and upper body) while the legs stand.
Motion usage(const QString& name, bool left, int frames, int keyFrame,
             const QList<QPair<double, Pose>>& leftLeadingKeys)
{
  Motion m{name + "-" + sideName(left), "standing-" + sideName(left), "standing-" + sideName(left), frames, {},
           {0, 0}, keyFrame};
  for (const auto& k : leftLeadingKeys)
  {
    // Only the arms and the upper body come from the key; the legs stand.
    Pose p = side(standingLeft(), left);
    p.torso = k.second.torso;
    p.neck = k.second.neck;
    p.rightArm = k.second.rightArm;
    p.leftArm = k.second.leftArm;
    m.keys.append(key(k.first, p));
  }
  return m;
}

// A cold weapon: raise it behind the head and strike; the blow is the key frame.
Motion swing(bool left)
{
  const Pose s = standingLeft();
  return usage("swing", left, 24, 12,
               {{4, with(s, {bones(-30, -50), bones(108, 98)}, -89)},
                {8, with(s, {bones(-112, -150), bones(115, 100)}, -93)},
                {10, with(s, {bones(-120, -165), bones(112, 98)}, -95)},
                {13, with(s, {bones(-5, 10), bones(82, 70)}, -80, -80)},
                {16, with(s, {bones(45, 68), bones(75, 60)}, -78, -80)}});
}

// A firearm: aim at head height, fire (the key frame) and take the recoil.
Motion shoot(bool left)
{
  const Pose s = standingLeft();
  const Arms aim{bones(-8, -6), bones(95, 85)};
  return usage("shoot", left, 28, 11,
               {{7, with(s, aim)},
                {12, with(s, aim)},
                {14, with(s, {bones(-18, -48), bones(97, 87)}, -93, -88)},
                {18, with(s, aim)},
                {21, with(s, aim)}});
}

// Food: hand to mouth, a bite (the key frame) and chewing.
Motion eat(bool left)
{
  const Pose s = standingLeft();
  const Limb rest = bones(104, 96);
  return usage("eat", left, 40, 13,
               {{10, with(s, {reachFromRoot(13, -10, Elbow), rest}, -87, -80)},
                {14, with(s, {reachFromRoot(11, -14, Elbow), rest}, -86, -72)},
                {20, with(s, {reachFromRoot(15, -5, Elbow), rest}, -87, -86)},
                {25, with(s, {reachFromRoot(12, -11, Elbow), rest}, -87, -78)},
                {31, with(s, {reachFromRoot(18, 14, Elbow), rest}, -87, -84)}});
}

// The guitar: the left hand on the neck, the right hand strumming; a
// downstroke is the key frame.
Motion play(bool left)
{
  const Pose s = standingLeft();
  const Limb neck = reachFromRoot(38, 16, Elbow);
  QList<QPair<double, Pose>> keys{{5, with(s, {reachFromRoot(17, 30, Elbow), neck}, -86, -82)}};
  for (int i = 0; i < 8; ++i)
  {
    const bool down = i % 2 == 0;
    keys.append({9.0 + 4 * i, with(s, {reachFromRoot(down ? 14 : 17, down ? 46 : 30, Elbow), neck}, -86,
                                 down ? -76 : -86)});
  }
  return usage("play", left, 48, 16, keys);
}

// A key: draw the hand back, thrust it forward (full reach is the key frame)
// and turn it.
Motion unlock(bool left)
{
  const Pose s = standingLeft();
  const Limb rest = bones(104, 96);
  return usage("unlock", left, 30, 11,
               {{6, with(s, {bones(100, 30), rest}, -88)},
                {12, with(s, {bones(8, 2), rest}, -80, -84)},
                {16, with(s, {bones(8, -18), rest}, -80, -84)},
                {21, with(s, {bones(8, 2), rest}, -80, -84)}});
}

// A saw: three strokes back and forth; the key frame is in the middle of one.
Motion saw(bool left)
{
  const Pose s = standingLeft();
  const Arms back{reachFromRoot(16, 42, Elbow), bones(100, 90)};
  const Arms forth{reachFromRoot(46, 32, Elbow), bones(95, 80)};
  QList<QPair<double, Pose>> keys;
  for (int i = 0; i < 7; ++i)
    keys.append({6.0 + 6 * i, i % 2 ? with(s, forth, -80, -80) : with(s, back, -87, -82)});
  return usage("saw", left, 48, 14, keys);
}

// An item's own variants: every listed posture and animation again under
// "<item>_<name>", with the arms holding the item (\a own animations move the
// arms themselves). Animations of the item start and end in its postures.
void addVariants(Description& d, const QString& item, const std::function<Pose(Pose)>& hold,
                 const QStringList& postures, const QList<Motion>& motions, const QList<Motion>& own = {})
{
  const QString prefix = item + "_";
  for (const auto& posture : QList<QPair<QString, Pose>>(d.postures))
    if (postures.contains(posture.first))
      d.postures.append({prefix + posture.first, hold(posture.second)});
  const auto rename = [&](const QString& name) { return postures.contains(name) ? prefix + name : name; };
  for (Motion m : motions)
  {
    m.name = prefix + m.name;
    m.from = rename(m.from);
    m.to = rename(m.to);
    for (Key& k : m.keys)
      k.pose = hold(k.pose);
    d.motions.append(m);
  }
  for (Motion m : own)
  {
    m.name = prefix + m.name;
    m.from = rename(m.from);
    m.to = rename(m.to);
    d.motions.append(m);
  }
}

// A parachute is held up with the right hand, through walks and jumps alike
// (an item without its own jump would be dropped before jumping).
Pose holdParachute(Pose p)
{
  p.rightArm = bones(-100, -94);
  return p;
}

// A long firearm: the right hand at the grip, the left hand under the barrel.
Arms rifleHold(double forearm = 0)
{
  return {bones(97, forearm), reachFromRoot(50, 28 + 0.4 * forearm, Elbow)};
}

Pose holdRifle(Pose p)
{
  p.rightArm = rifleHold().first;
  p.leftArm = rifleHold().second;
  return p;
}

// Raise the rifle to the shoulder, fire (the key frame), take the recoil.
Motion rifleShoot(bool left)
{
  const Pose s = standingLeft();
  const Arms aim{bones(102, -8), reachFromRoot(52, 14, Elbow)};
  return usage("shoot", left, 28, 11,
               {{7, with(s, aim)},
                {12, with(s, aim)},
                {14, with(s, {bones(106, -24), reachFromRoot(49, 4, Elbow)}, -93, -88)},
                {18, with(s, aim)},
                {21, with(s, aim)}});
}
} // namespace

Description Describe()
{
  Description d;
  d.body = {/*thigh*/ 45, /*shin*/ 44, /*torso*/ 50, /*neck*/ 20, /*upperArm*/ 32, /*forearm*/ 30,
            /*headRadius*/ 9, /*limbWidth*/ 0.55, /*torsoWidth*/ 0.7, /*neckWidth*/ 0.5};

  for (const bool left : {true, false})
  {
    d.postures.append({"standing-" + sideName(left), side(standingLeft(), left)});
    d.postures.append({"jumping-" + sideName(left), side(jumpingLeft(), left)});
    d.postures.append({"falling-" + sideName(left), side(fallingLeft(), left)});
  }
  d.postures.append({"climbing-right", climbingRight()});
  d.postures.append({"climbing-left", mirrored(climbingRight())});

  for (const bool left : {true, false})
    d.motions << step(left) << jump(left) << fallingDown(left) << land(left) << swing(left) << shoot(left)
              << eat(left) << play(left) << unlock(left) << saw(left);
  d.motions << climbUpRight() << mirroredClimb(climbUpRight()) << climbDownRight()
            << mirroredClimb(climbDownRight());

  const QStringList sides{"standing-left", "standing-right"};
  addVariants(d, "parachute", holdParachute,
              sides + QStringList{"jumping-left", "jumping-right", "falling-left", "falling-right"},
              {step(true), step(false), jump(true), jump(false), fallingDown(true), fallingDown(false), land(true),
               land(false)});
  for (const QString& rifle : {QStringLiteral("assault_rifle"), QStringLiteral("submachine_gun")})
    addVariants(d, rifle, holdRifle, sides, {step(true), step(false)}, {rifleShoot(true), rifleShoot(false)});
  return d;
}
} // namespace figure
