#include "flow/GameInputHandler.h"
#include "world/Ladder.h"
#include "world/Object.h"
#include "world/Scene.h"

#include "ManagerTestSupport.h"

#include "stickman/Stickman.h"

#include <QGraphicsItem>

namespace
{
// test_ladder: the floor's top at y = 700, a platform from x = 900 to 1600
// whose top is at y = 450; the player starts at (500, 700).
constexpr double FloorY = 700;
constexpr double PlatformY = 450;

class LadderControl : public ManagerTest
{
protected:
  void SetUp() override
  {
    ManagerTest::SetUp();
    manager().PlayLevel("test_ladder");
    finishOverview();
    player = manager().GetScene()->GetPlayer();
    ASSERT_NE(player, nullptr);
    settle();
  }

  GameInputHandler* input() { return manager().GetGameInputHandler(); }

  /// Lets animations, falls and shrinking end.
  void settle() { tick(120); }

  /// Draws a ladder 60 px wide with its left plank at \a left, from \a top
  /// down to \a bottom, as the player does: Control held, one stroke each.
  Ladder* drawLadder(double left, double top, double bottom)
  {
    const QList<Ladder*> before = ladders();
    emit input()->enterDrawingMode();
    const auto stroke = [this](QPointF from, QPointF to) {
      emit input()->drawingMoveTo(from);
      for (int i = 1; i <= 10; ++i)
        emit input()->drawingLineTo(from + (to - from) * i / 10.0);
    };
    stroke({left, top}, {left, bottom});
    stroke({left + 60, top}, {left + 60, bottom});
    for (double y = top + 50; y < bottom - 20; y += 50)
      stroke({left, y}, {left + 60, y});
    emit input()->exitDrawingMode();
    settle();
    for (Ladder* ladder : ladders())
      if (!before.contains(ladder))
        return ladder;
    ADD_FAILURE() << "no ladder was made";
    return nullptr;
  }

  QList<Ladder*> ladders()
  {
    return manager().GetScene()->GetLaddersIntersectingRect(manager().GetScene()->sceneRect());
  }

  /// Walks the player step by step until \a ladder is the one it would climb.
  void walkTo(Ladder* ladder)
  {
    Scene* scene = manager().GetScene();
    const double x = ladderCentreX(ladder);
    for (int i = 0; i < 100 && scene->GetLadderToClimb(player) != ladder; ++i)
    {
      emit(player->pos().x() < x ? input()->moveRight() : input()->moveLeft());
      tick(40); // one step
    }
    settle();
    ASSERT_EQ(scene->GetLadderToClimb(player), ladder);
  }

  /// Presses Up (or Down) once a climbing step, \a times times.
  void climb(bool up, int times)
  {
    for (int i = 0; i < times; ++i)
    {
      emit(up ? input()->moveUp() : input()->moveDown());
      tick(20);
    }
  }

  Ladder* climbed() { return manager().GetScene()->GetLadderBeingClimbed(player); }
  double ladderCentreX(const Ladder* ladder) { return ladder->GetItem()->sceneBoundingRect().center().x(); }

  Stickman* player = nullptr;
};
} // namespace

TEST_F(LadderControl, UpGrabsALadderAtItsFootAndDownLetsGoAtTheBottom)
{
  Ladder* ladder = drawLadder(560, 400, 698);
  ASSERT_NE(ladder, nullptr);
  walkTo(ladder);

  emit input()->moveDown(); // at the bottom a ladder is taken going up only
  EXPECT_FALSE(player->IsOnLadder());

  emit input()->moveUp();
  ASSERT_TRUE(player->IsOnLadder());
  EXPECT_EQ(climbed(), ladder);
  EXPECT_DOUBLE_EQ(player->pos().x(), ladderCentreX(ladder));
  EXPECT_DOUBLE_EQ(player->pos().y(), ladder->GetCleatY(-1));

  climb(true, 2);
  EXPECT_LT(player->pos().y(), ladder->GetCleatY(-1));
  climb(false, 6);
  EXPECT_FALSE(player->IsOnLadder());
  EXPECT_EQ(climbed(), nullptr);
  EXPECT_DOUBLE_EQ(player->pos().y(), FloorY);
}

TEST_F(LadderControl, ClimbingPastTheTopStepsOntoThePlatform)
{
  Ladder* ladder = drawLadder(870, 350, 698);
  ASSERT_NE(ladder, nullptr);
  walkTo(ladder);
  emit input()->moveUp();
  ASSERT_TRUE(player->IsOnLadder());
  for (int i = 0; i < 40 && player->IsOnLadder(); ++i)
    climb(true, 1);
  EXPECT_FALSE(player->IsOnLadder());
  EXPECT_DOUBLE_EQ(player->pos().y(), PlatformY);

  // From above, Down takes the ladder again; Up there does not.
  emit input()->moveUp();
  EXPECT_FALSE(player->IsOnLadder());
}

TEST_F(LadderControl, SidewaysOntoANeighbouringLadder)
{
  Ladder* first = drawLadder(300, 400, 698);
  Ladder* second = drawLadder(364, 400, 698);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  walkTo(first);
  emit input()->moveUp();
  ASSERT_EQ(climbed(), first);
  climb(true, 3); // off the floor: stepping sideways cannot mean stepping off

  emit input()->moveRight();
  EXPECT_EQ(climbed(), second);
  EXPECT_TRUE(player->IsOnLadder());
  EXPECT_DOUBLE_EQ(player->pos().x(), ladderCentreX(second));
  emit input()->moveLeft();
  EXPECT_EQ(climbed(), first);
}

// A ladder drawn in the air is an object like any other: when it falls out of
// the level it vanishes, and with it goes the ladder that Up would climb.
TEST_F(LadderControl, AFreeLadderThatFallsOutOfTheLevelIsClimbedNoMore)
{
  Ladder* ladder = drawLadder(560, 400, 690);
  ASSERT_NE(ladder, nullptr);
  ASSERT_NE(ladder->GetObject(), nullptr) << "drawn clear of the floor, it falls";
  ASSERT_TRUE(ladder->IsUp());
  walkTo(ladder);
  emit input()->moveUp();
  climb(true, 2);
  ASSERT_EQ(climbed(), ladder);

  ladder->GetObject()->Move(0, 3000);
  tick();
  EXPECT_TRUE(ladders().isEmpty());
  EXPECT_EQ(climbed(), nullptr);
  EXPECT_FALSE(player->IsOnLadder()) << "the climber lost its hold";
  tick(100); // the ladder has faded out and is gone
  emit input()->moveUp();
  EXPECT_FALSE(player->IsOnLadder());
  EXPECT_DOUBLE_EQ(player->pos().y(), FloorY) << "and dropped back to the floor";
}
