#include "SceneTestSupport.h"

#include "flow/Cue.h"
#include "flow/HUD.h"
#include "flow/SayBubble.h"
#include "world/ComputerControlledStickman.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QGraphicsEllipseItem>
#include <QGraphicsSimpleTextItem>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace
{
// Sky above, earth below the ground line at 900 px: what a level painter draws.
QByteArray backgroundPicture(const QSize& size, int groundY)
{
  QImage image(size, QImage::Format_ARGB32);
  image.fill(QColor(200, 230, 255));
  QPainter painter(&image);
  painter.fillRect(QRect(0, groundY, size.width(), size.height() - groundY), QColor(120, 90, 50));
  painter.setPen(QPen(Qt::black, 3));
  painter.drawLine(0, groundY, size.width(), groundY);
  painter.end();
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}

// The lowest row in the column range that differs from the sky colour above the ground.
int lowestFigureRow(const QImage& image, int left, int right, int groundY)
{
  for (int y = groundY - 2; y > 0; --y)
    for (int x = left; x <= right; ++x)
      if (image.pixelColor(x, y) != QColor(200, 230, 255))
        return y;
  return -1;
}

// A 12 m by 10 m level of one ground line at 9 m over its backdrop, the player at 3 m.
void buildPlainLevel(SceneFixture& f, const QSize& size)
{
  f.WriteLevelFile("backdrop.png", backgroundPicture(size, 900));
  f.Build(SceneLevel(R"(
  <start x="3" y="9"/>
  <background image="backdrop.png"/>
  <ground><region x="0" y="9" width="12" height="1"/></ground>
)",
                     12, 10));
}
} // namespace

// Renders the player, a friend who speaks and a HUD message, saves the picture
// as scene-picture.png in the build folder (look at it) and checks the layout.
TEST(ScenePictureTest, TheFigureStandsOnTheGroundAndTheBubblePointsAtTheSpeaker)
{
  SceneFixture f;
  const QSize size(1200, 1000);
  f.WriteLevelFile("backdrop.png", backgroundPicture(size, 900));
  f.Build(SceneLevel(R"(
  <start x="3" y="9"/>
  <background image="backdrop.png"/>
  <ground><region x="0" y="9" width="12" height="1"/></ground>
  <npc><friend x="7" y="9" direction="left" name="Ann" color="steelblue"/></npc>
)",
                     12, 10));
  Cue cue;
  cue.SetFrom("Ann");
  cue.SetText("Mind the <b>river</b>!");
  f.scene().DisplayCue(cue);
  f.scene().GetHUD()->UpdateFromView(size, QTransform());
  f.scene().GetHUD()->ShowMessage("Level 1");
  f.Tick();

  QImage picture(size, QImage::Format_ARGB32);
  picture.fill(Qt::white);
  QPainter painter(&picture);
  f.scene().render(&painter, QRectF(QPointF(0, 0), size), QRectF(QPointF(0, 0), size));
  painter.end();
  const QString path = QCoreApplication::applicationDirPath() + "/../scene-picture.png";
  ASSERT_TRUE(picture.save(path));

  // Both figures are drawn down to the ground line and not below it.
  for (const Stickman* stickman : {static_cast<const Stickman*>(f.player()),
                                   static_cast<const Stickman*>(f.scene().GetNpcs()[0])})
  {
    const QRectF r = stickman->sceneBoundingRect();
    EXPECT_NEAR(lowestFigureRow(picture, int(r.left()), int(r.right()), 900), 898, 4);
  }

  // The bubble's tail ends at Ann's head, and the bubble is drawn beside it.
  const QRectF ann = f.scene().GetNpcs()[0]->GetActualBoundingRect();
  QList<SayBubble*> bubbles;
  for (QGraphicsItem* item : f.scene().items())
    if (auto* bubble = dynamic_cast<SayBubble*>(item))
      bubbles.append(bubble);
  ASSERT_EQ(bubbles.size(), 1);
  EXPECT_EQ(bubbles[0]->pos(), QPointF(ann.center().x(), ann.top()));
  QRectF ellipse;
  for (QGraphicsItem* child : bubbles[0]->childItems())
    if (auto* e = dynamic_cast<QGraphicsEllipseItem*>(child))
      ellipse = e->sceneBoundingRect();
  // Facing left, Ann speaks into a bubble that starts left of her mouth, above her head.
  EXPECT_LT(ellipse.bottom(), ann.top() - 40);
  EXPECT_LT(ellipse.left(), ann.center().x() - 100);
  EXPECT_GT(picture.pixelColor(ellipse.center().toPoint() + QPoint(0, 15)).lightness(), 240);

  // The message sits in the middle of the screen.
  const QRectF message = f.scene().GetHUD()->GetMessageItem()->sceneBoundingRect();
  EXPECT_NEAR(message.center().x(), size.width() / 2.0, 2);
  EXPECT_NEAR(message.center().y(), size.height() / 2.0, 2);
}

// A page turn half way through, over the level with a thinking player: saved as
// page-curl-picture.png in the build folder.
TEST(ScenePictureTest, ThePageCurlFoldsTheOldPageAwayFromTheCorner)
{
  SceneFixture f;
  const QSize size(1200, 1000);
  buildPlainLevel(f, size);
  Cue thought;
  thought.SetFrom("player");
  thought.SetType(Cue::Think);
  thought.SetText("Where am I?");
  f.scene().DisplayCue(thought);
  QPixmap oldPage(size);
  oldPage.fill(QColor(250, 245, 220));
  f.scene().TurnThePage(oldPage, QPointF(0, 0));
  f.Tick(25);

  QImage picture(size, QImage::Format_ARGB32);
  picture.fill(Qt::white);
  QPainter painter(&picture);
  f.scene().render(&painter, QRectF(QPointF(0, 0), size), QRectF(QPointF(0, 0), size));
  painter.end();
  ASSERT_TRUE(picture.save(QCoreApplication::applicationDirPath() + "/../page-curl-picture.png"));
  // The old page still covers the top left; the level shows at the bottom right.
  EXPECT_EQ(picture.pixelColor(20, 20), QColor(250, 245, 220));
  EXPECT_EQ(picture.pixelColor(1190, 990), QColor(120, 90, 50));
}

// Blurred while the player draws, the background is still drawn where it is:
// sky above the line and earth below it, in any part of the level.
TEST(ScenePictureTest, TheBlurredBackgroundLiesWhereTheSharpOneIs)
{
  SceneFixture f;
  const QSize size(1200, 1000);
  buildPlainLevel(f, size);
  f.scene().Blur();
  const QRectF part(700, 700, 500, 300);
  QImage picture(part.size().toSize(), QImage::Format_ARGB32);
  picture.fill(Qt::white);
  QPainter painter(&picture);
  f.scene().render(&painter, QRectF(QPointF(0, 0), part.size()), part);
  painter.end();
  const auto near = [](const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()) < 20;
  };
  for (const int x : {10, 250, 470})
  {
    EXPECT_TRUE(near(picture.pixelColor(x, 50), QColor(200, 230, 255))) << x;
    EXPECT_TRUE(near(picture.pixelColor(x, 260), QColor(120, 90, 50))) << x;
    EXPECT_FALSE(near(picture.pixelColor(x, 200), QColor(200, 230, 255))) << "the line, spread by the blur " << x;
  }
}
