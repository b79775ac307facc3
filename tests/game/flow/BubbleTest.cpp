#include "flow/DisappearingThinkBubble.h"
#include "flow/SayBubble.h"
#include "flow/ThinkBubble.h"

#include <QGraphicsEllipseItem>
#include <QGraphicsPathItem>
#include <QGraphicsScene>
#include <QGraphicsTextItem>

#include <gtest/gtest.h>

#include <cmath>

namespace
{
template <class T>
QList<T*> children(const QGraphicsItem* bubble)
{
  QList<T*> found;
  for (QGraphicsItem* child : bubble->childItems())
    if (auto* typed = dynamic_cast<T*>(child))
      found.append(typed);
  return found;
}

// The big ellipse is the largest one; the trail's ellipses are smaller.
QGraphicsEllipseItem* bigEllipse(const QGraphicsItem* bubble)
{
  QGraphicsEllipseItem* big = nullptr;
  for (QGraphicsEllipseItem* e : children<QGraphicsEllipseItem>(bubble))
    if (!big || e->rect().width() > big->rect().width())
      big = e;
  return big;
}

QList<bool> trailVisibility(const QGraphicsItem* bubble)
{
  QList<QGraphicsEllipseItem*> ellipses = children<QGraphicsEllipseItem>(bubble);
  ellipses.removeAll(bigEllipse(bubble));
  std::sort(ellipses.begin(), ellipses.end(),
            [](QGraphicsEllipseItem* a, QGraphicsEllipseItem* b) { return a->rect().width() < b->rect().width(); });
  QList<bool> visible;
  for (QGraphicsEllipseItem* e : ellipses)
    visible << e->isVisible();
  return visible;
}

void tick(QGraphicsItem* item, int count = 1)
{
  for (int i = 0; i < count; ++i)
  {
    item->advance(0);
    item->advance(1);
  }
}
} // namespace

TEST(BubbleTest, TheEllipsePassesThroughTheTextCornersAndIsAThirdWider)
{
  const QRectF text(10, 20, 90, 30);
  const QRectF e = Bubble::calculateEllipseOuterRect(text);
  EXPECT_DOUBLE_EQ(e.width(), 120);
  EXPECT_EQ(e.center(), text.center());
  const double a = e.width() / 2;
  const double b = e.height() / 2;
  const double dx = text.width() / 2;
  const double dy = text.height() / 2;
  EXPECT_NEAR(dx * dx / (a * a) + dy * dy / (b * b), 1.0, 1e-12);
}

TEST(BubbleTest, ASpeechBubbleSitsOnTheSpeakersSideWithItsTailAtTheMouth)
{
  for (const Direction direction : {Left, Right})
  {
    QGraphicsScene scene;
    auto* bubble = new SayBubble;
    bubble->Init("Hello there", direction, &scene);
    EXPECT_EQ(bubble->scene(), &scene);
    QGraphicsEllipseItem* ellipse = bigEllipse(bubble);
    ASSERT_NE(ellipse, nullptr);
    QGraphicsTextItem* text = children<QGraphicsTextItem>(bubble).value(0);
    ASSERT_NE(text, nullptr);
    const QRectF e = ellipse->mapRectToParent(ellipse->rect());
    if (direction == Left)
      EXPECT_DOUBLE_EQ(text->pos().x(), -20 - e.width() / 2);
    else
      EXPECT_DOUBLE_EQ(text->pos().x(), 20);
    EXPECT_DOUBLE_EQ(text->pos().y(), -100);

    const QList<QGraphicsPathItem*> tails = children<QGraphicsPathItem>(bubble);
    ASSERT_EQ(tails.size(), 1);
    const QPainterPath tail = tails[0]->path();
    ASSERT_EQ(tail.elementCount(), 3);
    EXPECT_EQ(QPointF(tail.elementAt(1)), QPointF(0, 0));
    // The tail leaves the ellipse at -75 and -60 degrees (facing left) or at
    // 225 and 240 degrees (facing right), measured counter-clockwise.
    const QRectF eb = ellipse->mapRectToParent(ellipse->boundingRect());
    const double startDegrees = direction == Left ? -75 : 225;
    const double t = startDegrees * M_PI / 180;
    EXPECT_NEAR(tail.elementAt(0).x, eb.center().x() + std::cos(t) * eb.width() / 2, 1e-6);
    EXPECT_NEAR(tail.elementAt(0).y, eb.center().y() - std::sin(t) * eb.height() / 2, 1e-6);
    // Stacking: ellipse, tail, text.
    const QList<QGraphicsItem*> order = bubble->childItems();
    EXPECT_LT(order.indexOf(ellipse), order.indexOf(tails[0]));
    EXPECT_LT(order.indexOf(tails[0]), order.indexOf(text));
    EXPECT_EQ(bubble->GetBalloonRect(), ellipse->sceneBoundingRect().adjusted(0.5, 0.5, -0.5, -0.5))
        << "the ellipse without its outline";
  }
}

TEST(BubbleTest, AThoughtAppearsAsATrailOfThreeEllipsesFirst)
{
  QGraphicsScene scene;
  auto* bubble = new ThinkBubble;
  bubble->Init("Hmm", Right, &scene);
  QGraphicsTextItem* text = children<QGraphicsTextItem>(bubble).value(0);
  EXPECT_FALSE(text->isVisible());
  EXPECT_EQ(trailVisibility(bubble), QList<bool>({false, false, false}));
  // 1/15 s a step: ticks of 16 ms show them at ticks 1, 5 and 9.
  tick(bubble);
  EXPECT_EQ(trailVisibility(bubble), QList<bool>({true, false, false}));
  tick(bubble, 4);
  EXPECT_EQ(trailVisibility(bubble), QList<bool>({true, true, false}));
  tick(bubble, 4);
  EXPECT_EQ(trailVisibility(bubble), QList<bool>({true, true, true}));
  EXPECT_FALSE(bigEllipse(bubble)->isVisible());
  tick(bubble, 4);
  EXPECT_TRUE(text->isVisible());
  EXPECT_TRUE(bigEllipse(bubble)->isVisible());
}

TEST(BubbleTest, ACommentGoesAwayByItselfAfterFiveSecondsAndAHalf)
{
  QGraphicsScene scene;
  auto* bubble = new DisappearingThinkBubble;
  bubble->Init("Yummy!", Left, &scene);
  QGraphicsTextItem* text = children<QGraphicsTextItem>(bubble).value(0);
  tick(bubble, 100);
  EXPECT_TRUE(text->isVisible());
  // Full until 5.2 s (tick 325), then the trail vanishes from the largest down.
  tick(bubble, 226);
  EXPECT_FALSE(text->isVisible());
  EXPECT_TRUE(bubble->isVisible());
  EXPECT_EQ(trailVisibility(bubble), QList<bool>({true, true, true}));
  tick(bubble, 5);
  EXPECT_EQ(trailVisibility(bubble), QList<bool>({true, true, false}));
  // Hidden at 5.4 s: tick 338.
  tick(bubble, 5);
  EXPECT_TRUE(bubble->isVisible());
  tick(bubble, 2);
  EXPECT_FALSE(bubble->isVisible());
}

TEST(BubbleTest, ABubbleAtAnEdgeOfTheScreenMovesInsideAndStillLeadsToItsSpeaker)
{
  const QRectF screen(0, 0, 1280, 720);
  struct Case
  {
    const char* edge;
    QPointF origin;
  };
  // A long hint at the speaker's head close to each edge, facing either way.
  const Case cases[] = {{"left", {15, 400}}, {"right", {1265, 400}}, {"top", {640, 30}}};
  const QString text = "A ladder against the rock would do it, taller than the cliff. Hold Ctrl, draw two "
                       "long sides and the rungs, then let go.";
  for (const Case& c : cases)
    for (const Direction direction : {Left, Right})
      for (const bool speech : {true, false})
      {
        SCOPED_TRACE(std::string(c.edge) + (direction == Left ? " left" : " right") + (speech ? " say" : " think"));
        QGraphicsScene scene;
        Bubble* bubble = speech ? static_cast<Bubble*>(new SayBubble) : new ThinkBubble;
        bubble->Init(text, direction, &scene);
        tick(bubble, 20);
        bubble->Place(c.origin, screen);
        EXPECT_EQ(bubble->scenePos(), c.origin);
        const QRectF balloon = bubble->GetBalloonRect();
        EXPECT_TRUE(screen.contains(balloon.translated(Bubble::shadowOffset) | balloon));
        const QRectF text = children<QGraphicsTextItem>(bubble).value(0)->sceneBoundingRect();
        EXPECT_TRUE(balloon.contains(text));
        // Beside an edge it stays off the speaker's head; at the top there is no room for that.
        QPainterPath balloonShape;
        balloonShape.addEllipse(balloon);
        if (c.origin.y() > 300)
        {
          EXPECT_FALSE(balloonShape.intersects(QRectF(c.origin.x() - 12, c.origin.y(), 24, 24))) << "over the head";
        }
        if (speech)
        {
          // The tail's tip is at the speaker; it leaves the balloon on the speaker's side.
          const QPainterPath tail = children<QGraphicsPathItem>(bubble).value(0)->path();
          ASSERT_EQ(tail.elementCount(), 3);
          EXPECT_EQ(QPointF(tail.elementAt(1)), QPointF(0, 0));
          const QPointF base = bubble->mapToScene(QPointF(tail.elementAt(0)));
          EXPECT_EQ(base.x() < balloon.center().x(), c.origin.x() < balloon.center().x());
          EXPECT_EQ(base.y() < balloon.center().y(), c.origin.y() < balloon.center().y());
        }
        else
        {
          // The trail starts at the speaker's head and climbs towards the balloon.
          QList<QGraphicsEllipseItem*> trail = children<QGraphicsEllipseItem>(bubble);
          trail.removeAll(bigEllipse(bubble));
          ASSERT_EQ(trail.size(), 3);
          EXPECT_EQ(trail[0]->scenePos(), c.origin);
          EXPECT_LT(QLineF(trail[2]->scenePos(), balloon.center()).length(),
                    QLineF(c.origin, balloon.center()).length());
        }
      }
}

TEST(BubbleTest, ABubbleWithRoomIsWhereItsSpeakerPutsIt)
{
  QGraphicsScene scene;
  auto* bubble = new SayBubble;
  bubble->Init("Hello there", Left, &scene);
  bubble->Place(QPointF(600, 400), QRectF());
  const QRectF balloon = bubble->GetBalloonRect();
  bubble->Place(QPointF(600, 400), QRectF(0, 0, 1280, 720));
  EXPECT_EQ(bubble->GetBalloonRect(), balloon);
  // Following the speaker moves the whole bubble.
  bubble->Place(QPointF(700, 380), QRectF(0, 0, 1280, 720));
  EXPECT_EQ(bubble->GetBalloonRect(), balloon.translated(100, -20));
}
