#include "stickman/Animation.h"
#include "stickman/Posture.h"
#include "stickman/Stickman.h"

#include <gtest/gtest.h>

namespace
{
struct Joints
{
  Joint a{"a", {}};
  Joint b{"b", {}};
  Joint leftKnee{"left_knee", {}};
  Joint rightKnee{"right_knee", {}};
  Joint leftFoot{"left_foot", {}};
  Joint rightFoot{"right_foot", {}};
  Joint leftHand{"left_hand", {}};
  Joint rightHand{"right_hand", {}};
  Joint leftElbow{"left_elbow", {}};
  Joint rightElbow{"right_elbow", {}};
};

Posture twoJoints(Joints& j, QPointF a, QPointF b)
{
  Posture posture;
  posture.AddJointPosition(&j.a, a);
  posture.AddJointPosition(&j.b, b);
  return posture;
}
} // namespace

TEST(PostureTest, LooksUpTheFirstElementOfAJointAndAppliesEveryElement)
{
  Joints j;
  Posture posture = twoJoints(j, {1, 2}, {3, 4});
  posture.AddJointPosition(&j.a, {9, 9});
  EXPECT_EQ(posture.GetJointPosition(&j.a), QPointF(1, 2));
  EXPECT_EQ(posture.GetJointPosition(&j.leftFoot), QPointF(0, 0));
  posture.SetJointPosition(&j.a, {5, 6});
  posture.SetJointPosition(&j.leftFoot, {7, 7});
  EXPECT_EQ(posture.GetElements().size(), 3);
  EXPECT_EQ(posture.GetJointPosition(&j.a), QPointF(5, 6));

  posture.Offset(10, -10);
  posture.Apply();
  // Elements are applied in order, so the duplicate written last wins.
  EXPECT_EQ(j.a.position, QPointF(19, -1));
  EXPECT_EQ(j.b.position, QPointF(13, -6));
  EXPECT_EQ(j.leftFoot.position, QPointF(0, 0));
}

TEST(PostureTest, EqualityNeedsTheSameJointsInTheSameOrderWithinATolerance)
{
  Joints j;
  const Posture p = twoJoints(j, {1, 2}, {3, 4});
  EXPECT_TRUE(p == twoJoints(j, {1, 2 + 1e-13}, {3, 4}));
  EXPECT_FALSE(p == twoJoints(j, {1, 2 + 1e-9}, {3, 4}));
  Posture reordered;
  reordered.AddJointPosition(&j.b, {3, 4});
  reordered.AddJointPosition(&j.a, {1, 2});
  EXPECT_FALSE(p == reordered);
  Posture shorter;
  shorter.AddJointPosition(&j.a, {1, 2});
  EXPECT_TRUE(p != shorter);
}

TEST(PostureTest, IntermediatePosturesAreEvenlySpacedOnTheJointsOfTheFirst)
{
  Joints j;
  const Posture from = twoJoints(j, {0, 0}, {8, 8});
  Posture to;
  to.AddJointPosition(&j.a, {4, -8});
  to.AddJointPosition(&j.leftFoot, {100, 100});

  const QList<Posture> result = CalculateIntermediatePostures(from, to, 3);
  ASSERT_EQ(result.size(), 3);
  EXPECT_EQ(result[0].GetJointPosition(&j.a), QPointF(1, -2));
  EXPECT_EQ(result[1].GetJointPosition(&j.a), QPointF(2, -4));
  EXPECT_EQ(result[2].GetJointPosition(&j.a), QPointF(3, -6));
  // b is missing from "to": it heads for the origin; "to"'s extra joint is ignored.
  EXPECT_EQ(result[2].GetJointPosition(&j.b), QPointF(2, 2));
  EXPECT_EQ(result[0].GetElements().size(), 2);

  EXPECT_TRUE(CalculateIntermediatePostures(from, to, 0).isEmpty());
  EXPECT_TRUE(CalculateIntermediatePostures(from, to, -2).isEmpty());
  EXPECT_EQ(CalculateIntermediatePosture(from, to).GetJointPosition(&j.a), QPointF(2, -4));
}

TEST(PostureTest, SwapLimbsExchangesPositionsOfTheNamedPairsOnly)
{
  Joints j;
  Posture posture;
  posture.AddJointPosition(&j.leftFoot, {1, 0});
  posture.AddJointPosition(&j.rightFoot, {2, 0});
  posture.AddJointPosition(&j.rightKnee, {3, 0});
  posture.AddJointPosition(&j.leftHand, {4, 0});
  posture.AddJointPosition(&j.rightHand, {5, 0});
  posture.AddJointPosition(&j.leftElbow, {6, 0});
  posture.AddJointPosition(&j.rightElbow, {7, 0});

  Posture legs = posture;
  legs.SwapLimbs(SwapLegs);
  // No left knee: the knee pair is skipped, the feet still swap.
  EXPECT_EQ(legs.GetJointPosition(&j.leftFoot), QPointF(2, 0));
  EXPECT_EQ(legs.GetJointPosition(&j.rightFoot), QPointF(1, 0));
  EXPECT_EQ(legs.GetJointPosition(&j.rightKnee), QPointF(3, 0));
  EXPECT_EQ(legs.GetJointPosition(&j.leftHand), QPointF(4, 0));
  // Positions move, elements (and so joints) keep their places.
  EXPECT_EQ(legs.GetElements()[0].first, &j.leftFoot);

  Posture arms = posture;
  arms.SwapLimbs(SwapArms);
  EXPECT_EQ(arms.GetJointPosition(&j.leftHand), QPointF(5, 0));
  EXPECT_EQ(arms.GetJointPosition(&j.rightElbow), QPointF(6, 0));
  EXPECT_EQ(arms.GetJointPosition(&j.leftFoot), QPointF(1, 0));

  Posture both = posture;
  both.SwapLimbs(SwapArmsAndLegs);
  EXPECT_EQ(both.GetJointPosition(&j.leftHand), QPointF(5, 0));
  EXPECT_EQ(both.GetJointPosition(&j.leftFoot), QPointF(2, 0));

  Posture unknown = posture;
  unknown.SwapLimbs(static_cast<LimbsSwapType>(7));
  EXPECT_EQ(unknown, posture);
}

TEST(PostureTest, TranslateRebindsJointsByMapOrByName)
{
  Joints j;
  const Posture posture = twoJoints(j, {1, 1}, {2, 2});
  Joint other{"a", {}};
  const std::unique_ptr<Posture> mapped(posture.Translate(QMap<const Joint*, Joint*>{{&j.a, &other}}));
  ASSERT_EQ(mapped->GetElements().size(), 2);
  EXPECT_EQ(mapped->GetElements()[0].first, &other);
  EXPECT_EQ(mapped->GetElements()[1].first, nullptr);
  EXPECT_EQ(mapped->GetElements()[1].second, QPointF(2, 2));

  Stickman stickman(nullptr, nullptr, nullptr);
  Joint* b = stickman.AddJoint("b");
  const std::unique_ptr<Posture> byName(posture.Translate(stickman));
  ASSERT_EQ(byName->GetElements().size(), 1);
  EXPECT_EQ(byName->GetElements()[0].first, b);
  EXPECT_EQ(byName->GetElements()[0].second, QPointF(2, 2));
}

TEST(AnimationTest, StartsEmptyAndReportsItsPosturesAndDuration)
{
  Animation animation;
  EXPECT_TRUE(animation.GetPostures().isEmpty());
  EXPECT_EQ(animation.GetEndPosture(), nullptr);
  EXPECT_EQ(animation.GetOffset(), QPointF());
  EXPECT_FALSE(animation.HasKeyFrame());
  EXPECT_EQ(animation.GetKeyFrame(), 0);

  Joints j;
  for (int i = 0; i < 30; ++i)
    animation.AddPosture(twoJoints(j, {double(i), 0}, {}));
  EXPECT_EQ(animation.GetDurationMilliseconds(), 480);
  EXPECT_EQ(animation.GetDurationMilliseconds(10), 300);
  EXPECT_EQ(animation.GetPostureAt(-1), nullptr);
  EXPECT_EQ(animation.GetPostureAt(30), nullptr);
  ASSERT_NE(animation.GetPostureAt(29), nullptr);

  animation.Revert();
  EXPECT_EQ(animation.GetPostureAt(0)->GetJointPosition(&j.a), QPointF(29, 0));
  animation.PopPosture();
  EXPECT_EQ(animation.GetPostures().size(), 29);
  EXPECT_EQ(animation.GetPostureAt(28)->GetJointPosition(&j.a), QPointF(1, 0));

  animation.SetKeyFrame(5);
  EXPECT_TRUE(animation.HasKeyFrame());
  animation.ResetKeyFrame();
  EXPECT_FALSE(animation.HasKeyFrame());
}

TEST(AnimationTest, AddIntermediatePosturesDoublesTheFrameDensity)
{
  Joints j;
  Animation single;
  single.AddPosture(twoJoints(j, {0, 0}, {0, 0}));
  single.AddIntermediatePostures();
  EXPECT_EQ(single.GetPostures().size(), 1);

  Animation three;
  for (double x : {0.0, 4.0, 8.0})
    three.AddPosture(twoJoints(j, {x, 0}, {}));
  three.AddIntermediatePostures();
  ASSERT_EQ(three.GetPostures().size(), 5);
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(three.GetPostureAt(i)->GetJointPosition(&j.a), QPointF(2 * i, 0));

  Posture end = twoJoints(j, {-4, 0}, {});
  Animation withEnd;
  withEnd.SetEndPosture(&end);
  withEnd.AddPosture(twoJoints(j, {0, 0}, {}));
  withEnd.AddPosture(twoJoints(j, {4, 0}, {}));
  withEnd.AddIntermediatePostures();
  ASSERT_EQ(withEnd.GetPostures().size(), 4);
  EXPECT_EQ(withEnd.GetPostureAt(0)->GetJointPosition(&j.a), QPointF(-2, 0));
  EXPECT_EQ(withEnd.GetPostureAt(3)->GetJointPosition(&j.a), QPointF(4, 0));
}

TEST(AnimationTest, TranslateMapsJointsAndEndPostureAndKeepsTiming)
{
  Joints j;
  Posture end = twoJoints(j, {}, {});
  Posture otherEnd;
  Animation animation;
  animation.AddPosture(twoJoints(j, {1, 1}, {2, 2}));
  animation.SetEndPosture(&end);
  animation.SetOffset(50, -3);
  animation.SetKeyFrame(7);
  animation.SwapLimbs(SwapLegs);

  Joint a2{"a", {}};
  Joint b2{"b", {}};
  const std::unique_ptr<Animation> copy(animation.Translate({{&j.a, &a2}, {&j.b, &b2}}, {{&end, &otherEnd}}));
  EXPECT_EQ(copy->GetPostureAt(0)->GetElements()[1].first, &b2);
  EXPECT_EQ(copy->GetPostureAt(0)->GetJointPosition(&b2), QPointF(2, 2));
  EXPECT_EQ(copy->GetEndPosture(), &otherEnd);
  EXPECT_EQ(copy->GetOffset(), QPointF(50, -3));
  EXPECT_TRUE(copy->HasKeyFrame());
  EXPECT_EQ(copy->GetKeyFrame(), 7);

  const std::unique_ptr<Animation> unmapped(animation.Translate({}, {}));
  EXPECT_EQ(unmapped->GetEndPosture(), nullptr);
}
