#include "flow/CutsceneContinueIndicator.h"

#include <QGraphicsPixmapItem>
#include <QGraphicsScene>

#include <gtest/gtest.h>

// The indicator keeps time whether or not its pictures are beside the program.
TEST(CutsceneContinueIndicatorTest, AppearsAfterItsDelayAndBlinksEvery600Ms)
{
  QGraphicsScene scene;
  CutsceneContinueIndicator indicator(&scene);
  EXPECT_EQ(scene.items().size(), 2);
  indicator.Advance();
  EXPECT_EQ(indicator.GetVisibleFrame(), -1);

  indicator.ShowWithDelay(0.1, QPointF(300, 200));
  // 100 ms: the seventh 16 ms tick brings it.
  for (int tick = 0; tick < 6; ++tick)
    indicator.Advance();
  EXPECT_EQ(indicator.GetVisibleFrame(), -1);
  indicator.Advance();
  EXPECT_EQ(indicator.GetVisibleFrame(), 0);
  // 600 ms is 37.5 ticks: the 38th tick switches frames.
  for (int tick = 0; tick < 37; ++tick)
    indicator.Advance();
  EXPECT_EQ(indicator.GetVisibleFrame(), 0);
  indicator.Advance();
  EXPECT_EQ(indicator.GetVisibleFrame(), 1);
  for (int tick = 0; tick < 38; ++tick)
    indicator.Advance();
  EXPECT_EQ(indicator.GetVisibleFrame(), 0);

  indicator.Hide();
  EXPECT_FALSE(indicator.IsShown());
  EXPECT_EQ(indicator.GetVisibleFrame(), -1);
  for (QGraphicsItem* item : scene.items())
    EXPECT_EQ(item->pos(), QPointF(300 - item->boundingRect().width() / 2, 200));
}
