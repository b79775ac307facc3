#include "ManagerTestSupport.h"
#include "../world/ObjectTestSupport.h"

#include "flow/View.h"
#include "world/Helicopter.h"
#include "world/Scene.h"

#include "common/ConvertUtils.h"
#include "common/GlobalConstants.h"
#include "stickman/Stickman.h"

#include <box2d/b2_body.h>

#include <QGraphicsItem>

#include <algorithm>

namespace
{
/// test_sky: the player starts on low ground; beyond a chasm a cliff 6 m high
/// holds the finish area.
class VehicleControl : public ManagerTest
{
protected:
  static constexpr double CliffTopPx = 600;
  static constexpr double CliffLeftPx = 2800;

  void SetUp() override
  {
    ManagerTest::SetUp();
    manager().PlayLevel("test_sky");
    finishOverview();
    player = manager().GetScene()->GetPlayer();
    ASSERT_NE(player, nullptr);
  }

  /// Drawn with the mouse just right of the player, standing on the ground.
  void drawHelicopter()
  {
    draw(PlaceStrokes(Reference("helicopter", "right", 300), player->pos() + QPointF(20, -4)));
    tick(120);
  }

  /// Whether the camera shows the middle of the player's body at the middle of
  /// the window, where the level's edges let it.
  bool cameraOnPlayer()
  {
    const QPointF wanted = player->pos() - QPointF(0, 0.5 * bv::StickmanHeightPx);
    const QRectF free = manager().GetScene()->sceneRect().adjusted(640, 360, -640, -360);
    const QPointF expected(std::clamp(wanted.x(), free.left(), free.right()),
                           std::clamp(wanted.y(), free.top(), free.bottom()));
    return QLineF(manager().GetView()->center(), expected).length() < 1;
  }

  Stickman* player = nullptr;
};
} // namespace

// Shift boards the drawn helicopter and leaves it; while aboard, the arrows
// steer it instead of walking, and Down does not pull it down.
TEST_F(VehicleControl, ShiftBoardsTheHelicopterAndTheArrowsSteerIt)
{
  drawHelicopter();
  key(Qt::Key_Shift);
  auto* helicopter = dynamic_cast<Helicopter*>(player->GetGrabbedItem());
  ASSERT_NE(helicopter, nullptr) << "the helicopter is taken with Shift";
  EXPECT_FALSE(player->isVisible());
  const b2Body* body = helicopter->GetBody();
  ASSERT_NE(body, nullptr);

  const QPointF start = player->pos();
  key(Qt::Key_Right);
  EXPECT_FALSE(player->IsStepInProgress()) << "no step: the helicopter is pushed";
  EXPECT_GT(body->GetLinearVelocity().x, 0);
  key(Qt::Key_Left);
  key(Qt::Key_Down);
  EXPECT_NEAR(body->GetLinearVelocity().y, 0, 1e-3) << "Down is no engine";
  for (int i = 0; i < 10; ++i)
  {
    key(Qt::Key_Up);
    tick(6);
  }
  EXPECT_LT(player->pos().y(), start.y() - 100) << "Up lifts it, and its rider";
  EXPECT_FALSE(player->isVisible());

  // Leaving in the air: the figure is seen again and falls.
  key(Qt::Key_Shift);
  EXPECT_EQ(player->GetGrabbedItem(), nullptr);
  EXPECT_TRUE(player->isVisible());
  EXPECT_TRUE(player->IsFallingDownFromJump());
}

// Flown over the chasm with the arrow keys alone, as a player holds them, the
// helicopter lands its rider on the cliff and the level is finished; the
// camera keeps the rider in the middle of the window all the way.
TEST_F(VehicleControl, FlyingOverTheChasmFinishesTheLevelWithTheCameraOnTheRider)
{
  drawHelicopter();
  key(Qt::Key_Shift);
  auto* helicopter = dynamic_cast<Helicopter*>(player->GetGrabbedItem());
  ASSERT_NE(helicopter, nullptr);
  const b2Body* body = helicopter->GetBody();
  const QPointF target(CliffLeftPx + 500, CliffTopPx);

  // A pilot who looks every 100 ms, when held keys repeat: up to 2 m above the
  // cliff, across at no more than 3 m/s, then gently down onto it.
  int checked = 0;
  for (int i = 0; i < 3000; ++i)
  {
    if (i % 6 == 0 && player->GetGrabbedItem() == helicopter)
    {
      const QPointF at = player->pos();
      const b2Vec2 v = body->GetLinearVelocity();
      const bool over = std::abs(at.x() - target.x()) < 100;
      const double wantedVy = over ? 1.0 : std::clamp((at.y() - (CliffTopPx - 200)) / -100.0, -2.0, 2.0);
      const double wantedVx = at.y() < CliffTopPx - 100 ? std::clamp((target.x() - at.x()) / 100.0, -3.0, 3.0) : 0;
      if (v.y > wantedVy)
        key(Qt::Key_Up);
      if (v.x < wantedVx - 0.3)
        key(Qt::Key_Right);
      else if (v.x > wantedVx + 0.3)
        key(Qt::Key_Left);
    }
    tick();
    if (manager().GetLevelName() != "test_sky")
      break; // the next level has taken the player's place
    if (player->GetGrabbedItem() == helicopter)
    {
      EXPECT_FALSE(player->isVisible());
      checked += 1;
      ASSERT_TRUE(cameraOnPlayer()) << "tick " << i;
    }
  }
  EXPECT_GT(checked, 200);
  EXPECT_EQ(manager().GetLevelName(), "test_flat") << "the finish area on the cliff was reached";
}
