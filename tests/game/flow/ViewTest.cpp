#include "flow/FailbackMainWindow.h"
#include "flow/MainWindow.h"
#include "flow/View.h"

#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QPainter>
#include <QSignalSpy>
#include <QWidget>

#include <gtest/gtest.h>

namespace
{
class ViewTest : public testing::Test
{
protected:
  void SetUp() override
  {
    widget.setGeometry(0, 0, 800, 600);
    scene.setSceneRect(0, 0, 4000, 1000);
  }

  QWidget widget;
  QGraphicsScene scene;
  View view{&widget};
};
} // namespace

TEST_F(ViewTest, ViewportIsTheWidgetSize)
{
  EXPECT_EQ(view.width(), 800);
  EXPECT_EQ(view.height(), 600);
  EXPECT_EQ(view.rect(), QRectF(0, 0, 800, 600));
}

TEST_F(ViewTest, MappingFollowsTheTransformBothWays)
{
  view.scale(2, 2);
  view.translate(-100, -50);
  EXPECT_EQ(view.mapToScene(QPoint(0, 0)), QPointF(100, 50));
  EXPECT_EQ(view.mapToScene(QPoint(200, 100)), QPointF(200, 100));
  EXPECT_EQ(view.mapFromScene(QPointF(200.3, 100.2)), QPoint(201, 100));
  EXPECT_EQ(view.center(), QPointF(300, 200));
  view.resetTransform();
  EXPECT_EQ(view.mapToScene(QPoint(7, 9)), QPointF(7, 9));
  EXPECT_EQ(view.center(), QPointF(400, 300));
}

TEST_F(ViewTest, CenterOnWithoutSceneDoesNothing)
{
  view.centerOn(QPointF(2000, 500));
  EXPECT_TRUE(view.transform().isIdentity());
}

TEST_F(ViewTest, CenterOnAfterAResizeStartsFromWhatIsShown)
{
  view.setScene(&scene);
  view.centerOn(QPointF(2000, 500));
  widget.setGeometry(0, 0, 1000, 800);
  view.centerOn(QPointF(2000, 500));
  EXPECT_EQ(view.mapToScene(QPoint(500, 400)), QPointF(2000, 500));
}

TEST_F(ViewTest, CenterOnFollowsAPointInTheMiddle)
{
  view.setScene(&scene);
  view.centerOn(QPointF(2000, 500));
  EXPECT_EQ(view.center(), QPointF(2000, 500));
  EXPECT_EQ(view.mapToScene(QPoint(400, 300)), QPointF(2000, 500));
}

TEST_F(ViewTest, CenterOnStopsAtTheSceneEdges)
{
  view.setScene(&scene);
  view.centerOn(QPointF(10, 10));
  EXPECT_EQ(view.center(), QPointF(400, 300));
  EXPECT_EQ(view.mapToScene(QPoint(0, 0)), QPointF(0, 0));

  view.centerOn(QPointF(3990, 990));
  EXPECT_EQ(view.center(), QPointF(3600, 700));
  EXPECT_EQ(view.mapToScene(QPoint(800, 600)), QPointF(4000, 1000));
}

TEST_F(ViewTest, SceneSmallerThanTheViewportStaysCentred)
{
  scene.setSceneRect(100, 0, 400, 2000);
  view.setScene(&scene);
  for (double x : {0.0, 300.0, 5000.0})
  {
    view.centerOn(QPointF(x, 1000));
    EXPECT_EQ(view.center(), QPointF(300, 1000));
  }
}

TEST_F(ViewTest, CenterOnHonoursTheZoom)
{
  view.setScene(&scene);
  view.scale(0.5, 0.5); // 1600 x 1200 of scene visible: taller than the scene
  view.centerOn(QPointF(0, 0));
  EXPECT_EQ(view.center(), QPointF(800, 500));
  EXPECT_EQ(view.mapToScene(QPoint(0, 0)), QPointF(0, -100));
}

TEST_F(ViewTest, FitInViewKeepsAspectWithBandsOnTwoSides)
{
  scene.setSceneRect(0, 0, 400, 100);
  view.setScene(&scene);
  view.fitInView(QRectF(0, 0, 400, 100), Qt::KeepAspectRatio); // scale 2: bands above and below
  EXPECT_EQ(view.transform().m11(), 2);
  EXPECT_EQ(view.transform().m22(), 2);
  EXPECT_EQ(view.mapToScene(QPoint(0, 300)), QPointF(0, 50));
  EXPECT_EQ(view.mapFromScene(QPointF(400, 100)), QPoint(800, 400));
}

TEST_F(ViewTest, FitInViewOtherModes)
{
  view.setScene(&scene);
  view.fitInView(QRectF(0, 0, 1600, 600), Qt::KeepAspectRatioByExpanding);
  EXPECT_EQ(view.transform().m11(), 1);
  view.fitInView(QRectF(0, 0, 1600, 600), Qt::IgnoreAspectRatio);
  EXPECT_EQ(view.transform().m11(), 0.5);
  EXPECT_EQ(view.transform().m22(), 1);
  EXPECT_EQ(view.center(), QPointF(800, 300));
}

TEST_F(ViewTest, OnlyTheShownSceneTriggersRepaints)
{
  QGraphicsScene other;
  view.setScene(&scene);
  view.setScene(&other);
  EXPECT_FALSE(QObject::disconnect(&scene, &QGraphicsScene::changed, &view, &View::update));
  EXPECT_TRUE(QObject::disconnect(&other, &QGraphicsScene::changed, &view, &View::update));
}

TEST_F(ViewTest, RendersTheVisiblePartOfTheScene)
{
  auto* block = scene.addRect(2000, 400, 100, 100, Qt::NoPen, Qt::black);
  view.setScene(&scene);
  view.centerOn(QPointF(2050, 450));
  const QImage shot = view.makeScreenshot().toImage();
  ASSERT_EQ(shot.size(), QSize(800, 600));
  EXPECT_EQ(qGray(shot.pixel(400, 300)), 0);
  EXPECT_EQ(qGray(shot.pixel(300, 300)), 255);
  block->setPos(1000, 0);
  EXPECT_EQ(qGray(view.makeScreenshot().toImage().pixel(400, 300)), 255);
}

TEST(MainWindowChoice, HeadlessPlatformsGetTheSoftwareWindowWithoutAsking)
{
  EXPECT_FALSE(IsOpenGL2Available());
  QWidget* window = CreateMainWindow();
  EXPECT_NE(dynamic_cast<FailbackMainWindow*>(window), nullptr);
  EXPECT_EQ(dynamic_cast<MainWindow*>(window), nullptr);
  delete window;
}
