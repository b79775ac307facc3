#include "flow/CutsceneContinueIndicator.h"
#include "flow/SayBubble.h"
#include "flow/ThinkBubble.h"

#include <QGraphicsEllipseItem>
#include <QGraphicsPathItem>
#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QGraphicsTextItem>

#include <gtest/gtest.h>

#include <cmath>

namespace
{
QList<QGraphicsPixmapItem*> frames(const QGraphicsScene& scene)
{
  QList<QGraphicsPixmapItem*> found;
  for (QGraphicsItem* item : scene.items())
    if (auto* frame = dynamic_cast<QGraphicsPixmapItem*>(item))
      found.append(frame);
  return found;
}
} // namespace

// The indicator keeps time whether or not its pictures are beside the program.
TEST(CutsceneContinueIndicatorTest, AppearsAfterItsDelayAndBlinksEvery600Ms)
{
  QGraphicsScene scene;
  CutsceneContinueIndicator indicator(&scene);
  EXPECT_EQ(scene.items().size(), 2);
  indicator.Advance();
  EXPECT_EQ(indicator.GetVisibleFrame(), -1);

  auto* bubble = new SayBubble;
  bubble->Init("Hello", Right, &scene);
  indicator.ShowWithDelay(0.1, *bubble);
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
}

// Said or thought, to either side, short or long: the sign sits on the bubble's
// upper corner towards the speaker and covers neither the text nor the tail or
// the trail of the thought that leads down to the speaker.
TEST(CutsceneContinueIndicatorTest, SitsOnTheBubbleClearOfItsTextAndTail)
{
  const QPointF speaker(600, 500);
  for (const bool thought : {false, true})
    for (const Direction direction : {Left, Right})
      for (const QString& text : {QStringLiteral("Hi!"), QStringLiteral("What a fine morning by the sea!"),
                                  QStringLiteral("Left and Right to walk, Return to jump.<br>Tilda waits for me!")})
      {
        SCOPED_TRACE(QString("%1 %2 %3").arg(thought).arg(direction).arg(text).toStdString());
        QGraphicsScene scene;
        CutsceneContinueIndicator indicator(&scene);
        Bubble* bubble = thought ? static_cast<Bubble*>(new ThinkBubble) : new SayBubble;
        bubble->Init(text, direction, &scene);
        bubble->setPos(speaker);
        indicator.ShowWithDelay(0, *bubble);

        const QRectF balloon = bubble->GetBalloonRect();
        QRectF textRect;
        QList<QPainterPath> tails;
        for (QGraphicsItem* child : bubble->childItems())
          if (auto* textItem = dynamic_cast<QGraphicsTextItem*>(child))
            textRect = textItem->sceneBoundingRect();
          else if (auto* path = dynamic_cast<QGraphicsPathItem*>(child))
            tails << path->mapToScene(path->path());
          else if (auto* ellipse = dynamic_cast<QGraphicsEllipseItem*>(child);
                   ellipse && ellipse->mapRectToScene(ellipse->rect()) != balloon)
          {
            QPainterPath dot;
            dot.addEllipse(ellipse->mapRectToScene(ellipse->rect()));
            tails << dot;
          }
        ASSERT_FALSE(textRect.isEmpty());
        ASSERT_EQ(tails.size(), thought ? 3 : 1);

        const QList<QGraphicsPixmapItem*> signs = frames(scene);
        ASSERT_EQ(signs.size(), 2);
        for (QGraphicsPixmapItem* sign : signs)
        {
          const QRectF r = sign->sceneBoundingRect();
          ASSERT_FALSE(r.isEmpty()) << "the indicator's pictures are beside the program";
          EXPECT_FALSE(r.intersects(textRect));
          for (const QPainterPath& tail : tails)
            EXPECT_FALSE(tail.intersects(r));
          // Its lower corner on the speaker's side of the ellipse touches the ellipse.
          const bool speakerOnTheRight = speaker.x() >= balloon.center().x();
          const QPointF corner = speakerOnTheRight ? r.bottomLeft() : r.bottomRight();
          const QPointF d = corner - balloon.center();
          const double onEllipse = std::pow(d.x() / (balloon.width() / 2), 2) + std::pow(d.y() / (balloon.height() / 2), 2);
          EXPECT_NEAR(onEllipse, 1.0, 1e-6);
          EXPECT_LT(d.y(), 0) << "above the middle";
          EXPECT_EQ(d.x() > 0, speakerOnTheRight);
        }
      }
}
