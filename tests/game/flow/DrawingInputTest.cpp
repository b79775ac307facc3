#include "flow/FailbackMainWindow.h"
#include "flow/GeneralManager.h"
#include "flow/View.h"
#include "world/ArtisticDrawing.h"
#include "world/Scene.h"

#include "LogCapture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

// These tests run the game's window on a real X server (CTest starts them
// under xvfb-run) and move the real mouse with xdotool.
namespace
{
// Frames as slow as software OpenGL makes them while the drawing grows.
class SlowFrames : public QObject
{
public:
  bool eventFilter(QObject*, QEvent* event) override
  {
    if (event->type() == QEvent::Paint)
      QThread::msleep(50);
    return false;
  }
};

void processEventsFor(int ms)
{
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < ms)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

/// Runs xdotool with \a arguments while the game goes on; true when it worked.
bool xdotool(const QStringList& arguments)
{
  QProcess process;
  process.start("xdotool", arguments);
  if (!process.waitForStarted())
    return false;
  while (process.state() != QProcess::NotRunning)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  processEventsFor(300);
  return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

double distanceToPath(const QPointF& point, const QPainterPath& path)
{
  double best = 1e9;
  for (int i = 0; i < path.elementCount(); ++i)
    best = std::min(best, std::hypot(path.elementAt(i).x - point.x(), path.elementAt(i).y - point.y()));
  return best;
}
} // namespace

// Stairs drawn at a brisk hand's 1,000 px/s while each frame takes 50 ms:
// every point the mouse passed reaches the stroke, so its corners stay where
// they were drawn and the stroke becomes stairs.
TEST(DrawingInput, AFastStrokeKeepsItsCornersWhileFramesAreSlow)
{
  ASSERT_EQ(QGuiApplication::platformName().toStdString(), "xcb") << "run under xvfb-run with QT_QPA_PLATFORM=xcb";
  QTemporaryDir settingsDir;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
  std::unique_ptr<FailbackMainWindow> window(new FailbackMainWindow);
  GeneralManager* manager = window->GetManager();
  manager->SetManualTicks();
  manager->SetLevelErrorHandler([](const QString& message) { ADD_FAILURE() << message.toStdString(); });
  manager->SetLevelsPath(BV_TEST_LEVELS_DIR);
  manager->PlayLevel("test_flat");
  for (int i = 0; i < 3750 && manager->IsLevelOverviewRunning(); ++i)
    manager->Tick();
  ASSERT_FALSE(manager->IsLevelOverviewRunning());
  window->setGeometry(QGuiApplication::primaryScreen()->geometry());
  window->show();
  SlowFrames slowFrames;
  window->installEventFilter(&slowFrames);
  processEventsFor(300);

  // Three steps of 60 px up and 100 px to the right, in the window.
  QList<QPoint> corners{QPoint(700, 650)};
  for (int i = 0; i < 3; ++i)
  {
    corners << corners.last() + QPoint(0, -60);
    corners << corners.last() + QPoint(100, 0);
  }
  // A move every 4 ms, 4 px apart.
  QStringList stroke{"mousemove", "700", "650", "keydown", "ctrl", "mousedown", "1"};
  for (int i = 1; i < corners.size(); ++i)
  {
    const QPoint from = corners[i - 1];
    const QPoint step = (corners[i] - from) / ((corners[i] - from).manhattanLength() / 4);
    for (QPoint at = from + step; at != corners[i] + step; at += step)
      stroke << "sleep" << "0.004" << "mousemove" << QString::number(at.x()) << QString::number(at.y());
  }
  stroke << "mouseup" << "1";
  ASSERT_TRUE(xdotool(stroke));

  ArtisticDrawing* drawing = nullptr;
  for (QGraphicsItem* item : manager->GetScene()->items())
    if (auto* candidate = dynamic_cast<ArtisticDrawing*>(item))
      drawing = candidate;
  ASSERT_NE(drawing, nullptr);
  for (const QPoint& corner : corners)
    EXPECT_LE(distanceToPath(manager->GetView()->mapToScene(corner), drawing->path()), 3)
        << "corner " << corner.x() << "," << corner.y();

  LogCapture log("bv.objects");
  ASSERT_TRUE(xdotool({"keyup", "ctrl"}));
  EXPECT_EQ(log.lines().filter("drawing:").join(" | ").toStdString(), "drawing: stairs");
}
