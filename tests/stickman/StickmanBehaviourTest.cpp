#include "StickmanTestSupport.h"

#include "stickman/Animation.h"
#include "stickman/DrawingPrimitive.h"
#include "stickman/Posture.h"
#include "stickman/Stickman.h"

#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <cmath>

using namespace stickmantest;

namespace
{
class StickmanBehaviourTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    stickman = MakeFigure(&scene, &constraints);
    jumpManager = new FakeJumpManager(&jumpManagerDestroyed);
    stickman->SetJumpManager(jumpManager);
  }

  void tick(int count = 1)
  {
    for (int i = 0; i < count; ++i)
    {
      stickman->advance(0);
      stickman->advance(1);
    }
  }

  QPointF joint(const char* name) const { return stickman->FindJoint(name)->position; }

  QGraphicsScene scene;
  FakeConstraints constraints;
  std::unique_ptr<Stickman> stickman;
  FakeJumpManager* jumpManager = nullptr;
  bool jumpManagerDestroyed = false;
};

const Posture* posture(const Stickman& stickman, const char* name)
{
  return stickman.GetStaticPosture(name);
}

bool showsPosture(const Stickman&, const Posture& posture)
{
  for (const Posture::Element& element : posture.GetElements())
    if (element.first->position != element.second)
      return false;
  return true;
}
} // namespace

TEST_F(StickmanBehaviourTest, StartsIdleFacingRightInTheLeftStandingPosture)
{
  EXPECT_EQ(stickman->GetFacingDirection(), Right);
  EXPECT_FALSE(stickman->IsRightLegLeading());
  EXPECT_EQ(stickman->GetCurrentAnimation(), nullptr);
  EXPECT_TRUE(showsPosture(*stickman, *posture(*stickman, "standing-left")));
  EXPECT_EQ(stickman->scene(), &scene);
  EXPECT_EQ(stickman->GetActualSize(), stickman->boundingRect().size());
}

TEST_F(StickmanBehaviourTest, AnimationLookUpPrefersExactNamesThenTheHeldItemsVariant)
{
  bool itemSpecific = true;
  EXPECT_EQ(stickman->GetAnimation("step", itemSpecific), stickman->GetAnimation("step-left"));
  EXPECT_FALSE(itemSpecific);
  EXPECT_EQ(stickman->GetAnimation("swing-right", itemSpecific), stickman->GetAnimation("swing-right"));
  EXPECT_EQ(stickman->GetAnimation("dance"), nullptr);

  FakeItem apple("apple");
  stickman->GrabItem(&apple);
  EXPECT_EQ(stickman->GetAnimation("swing", itemSpecific), stickman->GetAnimation("swing-left"));
  EXPECT_FALSE(itemSpecific);

  FakeItem sword("sword");
  stickman->GrabItem(&sword);
  EXPECT_EQ(stickman->GetAnimation("swing", itemSpecific), stickman->GetAnimation("sword_swing-left"));
  EXPECT_TRUE(itemSpecific);
  // The item's standing posture replaces the ordinary one.
  EXPECT_TRUE(showsPosture(*stickman, *posture(*stickman, "sword_standing-left")));
  EXPECT_EQ(apple.releases, 1);
  EXPECT_EQ(sword.holder, stickman.get());
  EXPECT_EQ(sword.facing, Right);
  EXPECT_EQ(sword.hand, stickman->mapToScene(joint("right_hand")));
  const QPointF arm = joint("right_hand") - joint("right_elbow");
  EXPECT_DOUBLE_EQ(sword.armAngle, std::atan2(arm.y(), arm.x()));

  stickman->DropItem();
  EXPECT_EQ(sword.releases, 1);
  EXPECT_EQ(stickman->GetGrabbedItem(), nullptr);
  EXPECT_TRUE(showsPosture(*stickman, *posture(*stickman, "standing-left")));
}

TEST_F(StickmanBehaviourTest, UseAndReleaseGoThroughTheHeldItem)
{
  stickman->Use();
  FakeItem guitar("guitar");
  FakeItem stone("stone", false);
  stickman->GrabItem(&stone);
  stickman->Use();
  EXPECT_EQ(stone.usedBy, nullptr);
  stickman->GrabItem(&guitar);
  stickman->Use();
  EXPECT_EQ(guitar.usedBy, stickman.get());

  stickman->GetStaticPosture("climbing-right")->Apply();
  stickman->ReleaseItem();
  EXPECT_EQ(guitar.releases, 1);
  EXPECT_EQ(stickman->GetGrabbedItem(), nullptr);
  // Releasing keeps the posture.
  EXPECT_TRUE(showsPosture(*stickman, *posture(*stickman, "climbing-right")));
}

TEST_F(StickmanBehaviourTest, MovingAgainstTheFacingDirectionTurnsAroundFirst)
{
  FakeItem sword("sword");
  stickman->GrabItem(&sword);
  QSignalSpy started(stickman.get(), &Stickman::animationStarted);
  stickman->Move(Left);
  EXPECT_EQ(stickman->GetFacingDirection(), Left);
  EXPECT_EQ(stickman->transform(), QTransform::fromScale(-1, 1));
  EXPECT_EQ(sword.facing, Left);
  EXPECT_EQ(sword.hand, stickman->mapToScene(joint("right_hand")));
  EXPECT_EQ(stickman->GetCurrentAnimation(), nullptr);

  stickman->Move(Left);
  EXPECT_TRUE(stickman->IsStepInProgress());
  // While stepping, the other direction is ignored.
  stickman->Move(Right);
  EXPECT_EQ(stickman->GetFacingDirection(), Left);
  tick();
  EXPECT_EQ(started.count(), 1);
}

TEST_F(StickmanBehaviourTest, AStepShowsOnePosturePerTickAndMovesAtTheEnd)
{
  stickman->TurnAround();
  stickman->setPos(100, 200);
  QSignalSpy started(stickman.get(), &Stickman::animationStarted);
  QSignalSpy finished(stickman.get(), &Stickman::animationFinished);
  QSignalSpy moved(stickman.get(), &Stickman::moved);
  QSignalSpy stepMade(stickman.get(), &Stickman::stepMade);

  stickman->Move(Left);
  ASSERT_EQ(constraints.stepDistances, QList<double>({40.0}));
  Animation* step = stickman->GetAnimation("step-left");
  for (int frame = 0; frame < 30; ++frame)
  {
    tick();
    EXPECT_TRUE(showsPosture(*stickman, *step->GetPostureAt(frame)));
    EXPECT_EQ(stickman->pos(), QPointF(100, 200));
    EXPECT_NEAR(stickman->GetActualPos().x(), 100 - 40.0 * frame / 30, 1e-9);
  }
  ASSERT_EQ(started.count(), 1);
  EXPECT_EQ(started[0][0].toString(), "step");
  EXPECT_EQ(started[0][1].value<Animation*>(), step);
  EXPECT_EQ(moved.count(), 30);
  EXPECT_EQ(finished.count(), 0);

  tick();
  EXPECT_EQ(stickman->pos(), QPointF(60, 200));
  EXPECT_EQ(stickman->GetActualPos(), QPointF(60, 200));
  ASSERT_EQ(finished.count(), 1);
  EXPECT_EQ(finished[0][0].toString(), "step");
  ASSERT_EQ(stepMade.count(), 1);
  EXPECT_EQ(stepMade[0][0].toPointF(), QPointF(60, 200));
  EXPECT_EQ(moved.count(), 31);
  EXPECT_EQ(moved.last()[0].toPointF(), QPointF(60, 200));
  EXPECT_TRUE(stickman->IsRightLegLeading());
  EXPECT_TRUE(showsPosture(*stickman, *posture(*stickman, "standing-right")));
  EXPECT_EQ(stickman->GetCurrentAnimation(), nullptr);

  // The next step is the other variant.
  stickman->Move(Left);
  EXPECT_EQ(stickman->GetCurrentAnimation(), stickman->GetAnimation("step-right"));
}

TEST_F(StickmanBehaviourTest, RequestsInTheFirstHalfAreIgnoredAndInTheSecondHalfChained)
{
  QSignalSpy started(stickman.get(), &Stickman::animationStarted);
  stickman->Move(Right);
  Animation* first = stickman->GetCurrentAnimation();
  tick(15);
  ASSERT_EQ(stickman->GetCurrentFrame(), 15);
  stickman->Move(Right);
  tick();
  stickman->RunAnimation("swing");
  tick(14);
  EXPECT_EQ(stickman->GetCurrentAnimation(), first);
  // At frame 16 and later a request is kept; a later one replaces it.
  stickman->RunAnimation("swing");
  stickman->Move(Right);
  tick(); // frame 30: the step ends and the next one starts
  EXPECT_TRUE(stickman->IsStepInProgress());
  EXPECT_EQ(stickman->GetCurrentAnimation(), stickman->GetAnimation("step-right"));
  EXPECT_EQ(stickman->GetCurrentFrame(), 0);
  EXPECT_EQ(started.count(), 1);
  EXPECT_TRUE(showsPosture(*stickman, *posture(*stickman, "standing-right")));
  tick();
  EXPECT_EQ(started.count(), 2);
  EXPECT_TRUE(showsPosture(*stickman, *stickman->GetAnimation("step-right")->GetPostureAt(0)));

  // Without a request the figure stops after the step.
  tick(31);
  EXPECT_EQ(stickman->GetCurrentAnimation(), nullptr);
  EXPECT_EQ(stickman->pos(), QPointF(80, 0));
}

TEST_F(StickmanBehaviourTest, ARefusedStepLeavesTheFigureIdleAndACorrectionIsAppliedFirst)
{
  QSignalSpy moved(stickman.get(), &Stickman::moved);
  QSignalSpy started(stickman.get(), &Stickman::animationStarted);
  constraints.allowStep = false;
  stickman->Move(Right);
  tick(3);
  EXPECT_EQ(stickman->GetCurrentAnimation(), nullptr);
  EXPECT_EQ(stickman->pos(), QPointF());
  EXPECT_EQ(moved.count(), 0);
  EXPECT_EQ(started.count(), 0);

  constraints.allowStep = true;
  constraints.correction = QPointF(0, -25);
  stickman->setScale(0.5);
  stickman->Move(Right);
  EXPECT_EQ(constraints.stepDistances.last(), 20.0);
  EXPECT_EQ(stickman->pos(), QPointF(0, -25));
  ASSERT_EQ(moved.count(), 1);
  EXPECT_EQ(moved[0][0].toPointF(), QPointF(0, -25));
  tick(31);
  // The offset is scaled with the figure.
  EXPECT_EQ(stickman->pos(), QPointF(20, -25));
}

TEST_F(StickmanBehaviourTest, JumpingAsksTheWorldDropsOrdinaryItemsAndFallsAfterTakeOff)
{
  FakeItem apple("apple");
  stickman->GrabItem(&apple);
  constraints.allowJump = false;
  stickman->Jump();
  EXPECT_EQ(stickman->GetCurrentAnimation(), nullptr);
  ASSERT_EQ(constraints.jumpSizes.size(), 1);
  EXPECT_EQ(constraints.jumpSizes[0], QPointF(40, 30));
  EXPECT_EQ(stickman->GetGrabbedItem(), &apple);

  constraints.allowJump = true;
  stickman->Jump();
  EXPECT_TRUE(stickman->IsJumpStartInProgress());
  EXPECT_TRUE(stickman->IsJumpInProgress());
  EXPECT_EQ(stickman->GetGrabbedItem(), nullptr);
  EXPECT_EQ(apple.releases, 1);
  // No moving, no second jump while the take-off plays.
  stickman->Move(Right);
  stickman->Jump();
  EXPECT_EQ(constraints.stepDistances.size(), 0);
  EXPECT_EQ(constraints.jumpSizes.size(), 2);

  tick(11);
  EXPECT_EQ(stickman->pos(), QPointF(20, -30));
  EXPECT_TRUE(jumpManager->falling);
  // 80 % of 20 px in the 6 frames after the key frame 4.
  EXPECT_NEAR(jumpManager->horizontalSpeed, 20 * 0.8 * 0.01 / (6 * 0.016), 1e-12);
  EXPECT_EQ(jumpManager->itemName, "");
  EXPECT_EQ(stickman->GetCurrentAnimation(), stickman->GetAnimation("falling_down-left"));
  EXPECT_TRUE(stickman->IsFallingDownFromJump());
  stickman->Jump();
  stickman->Move(Right);
  EXPECT_EQ(constraints.jumpSizes.size(), 2);
  EXPECT_EQ(constraints.stepDistances.size(), 0);

  QSignalSpy jumpMade(stickman.get(), &Stickman::jumpMade);
  tick(7);
  jumpManager->falling = false;
  stickman->Land();
  EXPECT_TRUE(stickman->IsLandingInProgress());
  tick(7);
  ASSERT_EQ(jumpMade.count(), 1);
  EXPECT_FALSE(stickman->IsJumpInProgress());
}

TEST_F(StickmanBehaviourTest, AnItemWithItsOwnJumpIsKeptAndNamedToTheJumpManager)
{
  FakeItem sword("sword");
  stickman->GrabItem(&sword);
  stickman->Jump();
  EXPECT_EQ(stickman->GetCurrentAnimation(), stickman->GetAnimation("sword_jump-left"));
  tick(11);
  EXPECT_EQ(stickman->GetGrabbedItem(), &sword);
  EXPECT_EQ(jumpManager->itemName, "sword");
}

TEST_F(StickmanBehaviourTest, TheJumpManagerRunsFirstAndAFinishedFallEndsTheTick)
{
  stickman->Move(Right);
  tick();
  EXPECT_EQ(jumpManager->advances, 1);
  stickman->advance(0);
  EXPECT_EQ(jumpManager->advances, 1);
  EXPECT_EQ(stickman->GetCurrentFrame(), 1);
  jumpManager->finishNextAdvance = true;
  tick();
  EXPECT_EQ(jumpManager->advances, 2);
  EXPECT_EQ(stickman->GetCurrentFrame(), 1);
  tick();
  EXPECT_EQ(stickman->GetCurrentFrame(), 2);

  stickman->SetJumpManager(jumpManager);
  EXPECT_FALSE(jumpManagerDestroyed);
  stickman->SetJumpManager(new FakeJumpManager);
  EXPECT_TRUE(jumpManagerDestroyed);
}

TEST_F(StickmanBehaviourTest, KeyMomentsAreAnnouncedBeforeTheirPosture)
{
  QSignalSpy key(stickman.get(), &Stickman::animationKeyMoment);
  stickman->RunAnimation("swing");
  tick(6);
  EXPECT_EQ(key.count(), 0);
  tick();
  ASSERT_EQ(key.count(), 1);
  EXPECT_EQ(key[0][0].toString(), "swing");
  EXPECT_EQ(stickman->GetCurrentFrame(), 7);
}

TEST_F(StickmanBehaviourTest, RevertingPlaysTheShownPosturesBackwards)
{
  QSignalSpy finished(stickman.get(), &Stickman::animationFinished);
  stickman->RunAnimation("swing");
  Animation* swing = stickman->GetCurrentAnimation();
  tick(4);
  stickman->RevertCurrentAnimation();
  Animation* reverted = stickman->GetCurrentAnimation();
  ASSERT_NE(reverted, swing);
  EXPECT_EQ(stickman->GetCurrentAnimationName(), "swing");
  ASSERT_EQ(reverted->GetPostures().size(), 4);
  EXPECT_FALSE(reverted->HasKeyFrame());
  EXPECT_EQ(reverted->GetEndPosture(), nullptr);
  for (int i = 0; i < 4; ++i)
  {
    tick();
    EXPECT_TRUE(showsPosture(*stickman, *swing->GetPostureAt(3 - i)));
  }
  // Reverting the reverted animation replaces it.
  stickman->RevertCurrentAnimation();
  EXPECT_EQ(stickman->GetCurrentAnimation()->GetPostures().size(), 4);
  tick(5);
  ASSERT_EQ(finished.count(), 1);
  EXPECT_EQ(finished[0][0].toString(), "swing");
  stickman->RevertCurrentAnimation();
  EXPECT_EQ(stickman->GetCurrentAnimation(), nullptr);
}

TEST_F(StickmanBehaviourTest, LadderGrabDropsTheItemFlattensTheLimbsAndClimbsHandOverHand)
{
  FakeItem sword("sword");
  stickman->GrabItem(&sword);
  stickman->ClimbUp();
  EXPECT_EQ(stickman->GetCurrentAnimation(), nullptr);

  stickman->GrabLadder();
  EXPECT_TRUE(stickman->IsOnLadder());
  EXPECT_EQ(stickman->GetGrabbedItem(), nullptr);
  EXPECT_TRUE(showsPosture(*stickman, *posture(*stickman, "climbing-right")));
  for (const DrawingPrimitive* primitive : stickman->GetDrawingPrimitives())
  {
    EXPECT_EQ(primitive->GetGraphicsItems()[0]->zValue(), 0);
    EXPECT_EQ(primitive->GetGraphicsItems()[1]->zValue(), -0.1);
  }
  const double handY = stickman->mapToScene(joint("right_hand")).y();
  EXPECT_EQ(stickman->GetLadderUpperHandY(), handY);

  // No walking on a ladder.
  stickman->Move(Right);
  stickman->Move(Left);
  EXPECT_EQ(stickman->GetFacingDirection(), Right);
  EXPECT_EQ(stickman->GetCurrentAnimation(), nullptr);

  stickman->ClimbUp();
  EXPECT_TRUE(stickman->IsClimbUpInProgress());
  EXPECT_EQ(stickman->GetCurrentAnimation(), stickman->GetAnimation("climbup-right"));
  tick(9);
  EXPECT_EQ(stickman->pos(), QPointF(0, -33));
  EXPECT_FALSE(stickman->IsRightHandLeading());
  EXPECT_TRUE(showsPosture(*stickman, *posture(*stickman, "climbing-left")));
  // The left hand leads: the upper hand is one rung above the holder.
  EXPECT_EQ(stickman->GetLadderUpperHandY(), stickman->mapToScene(joint("right_hand")).y() - 33);

  stickman->ClimbDown();
  EXPECT_EQ(stickman->GetCurrentAnimation(), stickman->GetAnimation("climbdown-left"));
  tick(9);
  EXPECT_EQ(stickman->pos(), QPointF(0, 0));
  EXPECT_TRUE(stickman->IsRightHandLeading());

  stickman->LeaveLadder();
  EXPECT_FALSE(stickman->IsOnLadder());
  for (const DrawingPrimitive* primitive : stickman->GetDrawingPrimitives())
    EXPECT_EQ(primitive->GetGraphicsItems()[0]->zValue(), primitive->GetZValue());
  EXPECT_TRUE(showsPosture(*stickman, *posture(*stickman, "standing-left")));
}

TEST_F(StickmanBehaviourTest, NoLadderDuringAJump)
{
  stickman->Jump();
  stickman->GrabLadder();
  EXPECT_FALSE(stickman->IsOnLadder());
}

TEST_F(StickmanBehaviourTest, ActualBoundingRectStandsOnTheActualPosition)
{
  stickman->setPos(300, 400);
  stickman->MoveTo(QPointF(10, 20));
  const QRectF r = stickman->GetActualBoundingRect();
  EXPECT_EQ(r.size(), stickman->boundingRect().size());
  EXPECT_DOUBLE_EQ(r.center().x(), 10);
  EXPECT_DOUBLE_EQ(r.bottom(), 20);
  stickman->SetKilled();
  EXPECT_TRUE(stickman->IsKilled());
}

// A short hop lands while the fall's pose has barely begun: the landing must
// still play and end in jumpMade and the standing posture.
TEST_F(StickmanBehaviourTest, ALandingEarlyInTheFallReplacesTheFallingPose)
{
  QSignalSpy jumpMade(stickman.get(), &Stickman::jumpMade);
  stickman->StartFallingDown(0);
  EXPECT_EQ(stickman->GetCurrentAnimation(), stickman->GetAnimation("falling_down-left"));
  tick(2);
  jumpManager->falling = false;
  stickman->Land();
  EXPECT_TRUE(stickman->IsLandingInProgress());
  EXPECT_EQ(stickman->GetCurrentAnimation(), stickman->GetAnimation("land-left"));
  tick(7);
  EXPECT_EQ(jumpMade.count(), 1);
  EXPECT_EQ(stickman->GetCurrentAnimation(), nullptr);
  EXPECT_TRUE(showsPosture(*stickman, *posture(*stickman, "standing-left")));
}

TEST_F(StickmanBehaviourTest, GrabbingALadderMidStepDropsTheStepAndWhatWasQueued)
{
  stickman->Move(Right);
  tick(20);
  stickman->Move(Right);
  ASSERT_TRUE(stickman->IsStepInProgress());
  stickman->GrabLadder();
  EXPECT_TRUE(stickman->IsOnLadder());
  EXPECT_EQ(stickman->GetCurrentAnimation(), nullptr);
  EXPECT_EQ(stickman->GetActualPos(), QPointF(0, 0));
  tick(40);
  EXPECT_EQ(stickman->pos(), QPointF(0, 0));
  EXPECT_TRUE(showsPosture(*stickman, *posture(*stickman, "climbing-right")));
}

TEST_F(StickmanBehaviourTest, LeavingALadderMidClimbStaysOnTheGroundItWasPutOn)
{
  stickman->GrabLadder();
  stickman->ClimbUp();
  tick(5);
  stickman->ClimbUp();
  stickman->LeaveLadder();
  stickman->setPos(0, -10);
  EXPECT_EQ(stickman->GetCurrentAnimation(), nullptr);
  tick(20);
  EXPECT_EQ(stickman->pos(), QPointF(0, -10));
  EXPECT_TRUE(showsPosture(*stickman, *posture(*stickman, "standing-left")));
}
