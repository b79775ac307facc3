#include "flow/GameClock.h"
#include "flow/GeneralManager.h"
#include "world/Scene.h"

#include "ManagerTestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGraphicsItem>
#include <QThread>

#include <algorithm>
#include <vector>

namespace
{
using GameTime = ManagerTest;

// The window's part in a frame, at a chosen cost, repainting without end as
// the window does while the camera moves; it notes the game's tick at each frame.
class SlowWindow : public QWidget
{
public:
  void paintEvent(QPaintEvent*) override
  {
    QThread::msleep(nextFrameMs);
    nextFrameMs = frameMs;
    ticksAtFrames.push_back(*ticks);
    update();
  }

  int frameMs = 0;
  int nextFrameMs = 0;
  const long* ticks = nullptr;
  std::vector<long> ticksAtFrames;
};

// Counts the game's ticks: the scene advances each of its items once a tick.
class TickCounter : public QGraphicsItem
{
public:
  QRectF boundingRect() const override { return QRectF(); }
  void paint(QPainter*, const QStyleOptionGraphicsItem*, QWidget*) override {}
  void advance(int phase) override { ticks += phase; }
  long ticks = 0;
};

double runForMs(int ms)
{
  QElapsedTimer wall;
  wall.start();
  while (wall.elapsed() < ms)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  return wall.nsecsElapsed() / 1e6;
}

int largestBurst(const std::vector<long>& ticksAtFrames)
{
  long burst = 0;
  for (size_t i = 1; i < ticksAtFrames.size(); ++i)
    burst = std::max(burst, ticksAtFrames[i] - ticksAtFrames[i - 1]);
  return int(burst);
}
} // namespace

// Frames that cost three ticks each: the game still advances one tick per
// 16 ms of wall-clock time, several ticks between two frames. A frame that
// stalls far longer brings the most ticks one timer event gives, and no more.
TEST_F(GameTime, FollowsTheClockWhateverAFrameCosts)
{
  SlowWindow slowWindow;
  slowWindow.resize(640, 360);
  GeneralManager game(&slowWindow, nullptr);
  game.SetLevelErrorHandler([](const QString& message) { ADD_FAILURE() << message.toStdString(); });
  game.SetLevelsPath(BV_TEST_LEVELS_DIR);
  game.PlayLevel("test_flat");
  ASSERT_EQ(game.GetLevelName(), "test_flat");
  auto* counter = new TickCounter;
  game.GetScene()->addItem(counter);
  slowWindow.ticks = &counter->ticks;
  slowWindow.frameMs = 50;
  slowWindow.show();
  runForMs(100);

  long ticksBefore = counter->ticks;
  const double wallMs = runForMs(1000);
  const long ticks = counter->ticks - ticksBefore;
  // Margins for a busy machine; frames that held the game back gave about 20.
  EXPECT_GE(ticks, 0.7 * wallMs / 16) << "in " << wallMs << " ms with frames of 50 ms";
  EXPECT_LE(ticks, wallMs / 16 + 1);
  EXPECT_GE(slowWindow.ticksAtFrames.size(), 5u);
  EXPECT_GE(largestBurst(slowWindow.ticksAtFrames), 2);

  slowWindow.ticksAtFrames.clear();
  slowWindow.nextFrameMs = 400;
  runForMs(600);
  EXPECT_EQ(largestBurst(slowWindow.ticksAtFrames), GameClock::MaxTicksPerEvent);
}
