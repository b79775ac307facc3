#include "Pictures.h"
#include "Sketchbook.h"

#include "common/FilePaths.h"
#include "flow/GameInputHandler.h"

#include <QImage>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QSignalSpy>

#include <memory>

#include <gtest/gtest.h>

// Every picture the game loads from its directory is there, at the size it is drawn.
TEST(Pictures, TheGameFindsEveryPicture)
{
  const struct
  {
    QString path;
    QSize size;
  } expected[] = {{GetGameMenuBackgroundPath(), {1920, 1080}},
                  {GetHelpScreenPath(), {1920, 1080}},
                  {GetDataRootPath() + "/drawing_cursor.png", {48, 48}},
                  {GetDataRootPath() + "/space1.png", {124, 64}},
                  {GetDataRootPath() + "/space2.png", {124, 64}},
                  {GetDataRootPath() + "/eagle.png", {360, 240}}};
  for (const auto& picture : expected)
  {
    const QImage image(picture.path);
    EXPECT_FALSE(image.isNull()) << picture.path.toStdString();
    EXPECT_EQ(image.size(), picture.size) << picture.path.toStdString();
  }
}

// The cursor's hot spot is (0, 0): the pencil's point must be there, and the
// rest of the corner row clear so that the picture does not hide what is drawn.
TEST(Pictures, CursorPointsWithItsTipAtTheHotSpot)
{
  const QImage cursor = pictures::DrawingCursor();
  int opaqueNearTip = 0;
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      opaqueNearTip += qAlpha(cursor.pixel(x, y)) > 100;
  EXPECT_GE(opaqueNearTip, 4);
  EXPECT_EQ(qAlpha(cursor.pixel(47, 0)), 0);
  EXPECT_EQ(qAlpha(cursor.pixel(0, 47)), 0);
  EXPECT_GT(qGray(cursor.pixel(1, 1)), 0);
  EXPECT_LT(qGray(cursor.pixel(1, 1)), 110) << "the lead is dark";
}

TEST(Pictures, ContinueFramesBlinkBetweenTwoDifferentPictures)
{
  const QImage up = pictures::ContinueIndicator(1), down = pictures::ContinueIndicator(2);
  EXPECT_EQ(up.size(), down.size());
  EXPECT_NE(up, down);
}

// The cutscene hangs the player from the point at 0.64 of the width and 0.86 of
// the height: the talons must be there, and the sky must show around the bird.
TEST(Pictures, TheEagleHoldsWithItsTalonsWhereTheCutsceneHangsThePlayer)
{
  const QImage eagle = pictures::Eagle();
  const QPoint talons(int(0.64 * eagle.width()), int(0.86 * eagle.height()));
  int opaque = 0;
  for (int y = talons.y() - 3; y <= talons.y() + 3; ++y)
    for (int x = talons.x() - 3; x <= talons.x() + 3; ++x)
      opaque += qAlpha(eagle.pixel(x, y)) > 100;
  EXPECT_GE(opaque, 4);
  for (const QPoint corner : {QPoint(0, 0), QPoint(eagle.width() - 1, 0), QPoint(0, eagle.height() - 1),
                              QPoint(eagle.width() - 1, eagle.height() - 1)})
    EXPECT_EQ(qAlpha(eagle.pixel(corner)), 0);
  EXPECT_EQ(eagle, pictures::Eagle());
}

// The same program paints the same pictures, so the build is reproducible.
TEST(Pictures, PaintingIsDeterministic)
{
  ASSERT_TRUE(sketchbook::LoadLettering());
  EXPECT_EQ(pictures::MenuBackground(), pictures::MenuBackground());
  EXPECT_EQ(pictures::Icon(64), pictures::Icon(64));
}

// The menu's buttons sit in the middle of the lower half: the picture is calm
// there (no pencil lines), so their labels stay readable.
TEST(Pictures, MenuLeavesRoomForTheButtons)
{
  ASSERT_TRUE(sketchbook::LoadLettering());
  const QImage menu = pictures::MenuBackground();
  int dark = 0, total = 0;
  for (int y = 540; y < 700; y += 2)
    for (int x = 480; x < 1440; x += 2, ++total)
      dark += qGray(menu.pixel(x, y)) < 120;
  EXPECT_LT(dark, total / 200);
}

// Every key the game answers to while playing is on the help screen: each key
// is pressed, with and without Alt, on the game's own input handler.
TEST(Pictures, TheHelpScreenListsEveryKeyTheGameAnswers)
{
  QList<int> listed;
  for (const pictures::KeyRow& row : pictures::HelpKeys())
    listed << row.keys;
  QList<int> candidates;
  for (int key = 0x20; key < 0x7f; ++key)
    candidates << key;
  for (int key = Qt::Key_Escape; key <= Qt::Key_F35; ++key)
    candidates << key;
  for (int key : candidates)
    for (Qt::KeyboardModifiers modifiers : {Qt::NoModifier, Qt::AltModifier})
    {
      GameInputHandler handler;
      handler.Start();
      int emitted = 0;
      const QMetaObject* meta = handler.metaObject();
      QList<std::shared_ptr<QSignalSpy>> spies;
      for (int i = meta->methodOffset(); i < meta->methodCount(); ++i)
        if (meta->method(i).methodType() == QMetaMethod::Signal)
          spies << std::make_shared<QSignalSpy>(&handler, QByteArray("2") + meta->method(i).methodSignature());
      QKeyEvent press(QEvent::KeyPress, key, modifiers);
      handler.keyPressEvent(&press);
      QKeyEvent release(QEvent::KeyRelease, key, modifiers);
      handler.keyReleaseEvent(&release);
      for (const auto& spy : spies)
        emitted += spy->count();
      if (emitted > 0)
      {
        EXPECT_TRUE(listed.contains(key)) << "key 0x" << std::hex << key << " is not on the help screen";
      }
    }
}
