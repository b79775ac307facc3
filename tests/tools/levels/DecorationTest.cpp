#include "Decoration.h"
#include "LevelPainter.h"
#include "Sketchbook.h"

#include "world/Level.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{
// A decoration source of these lines, read back; the error, if any, in \a error.
QList<DecorationItem> read(const QByteArray& lines, QString* error, bool* ok)
{
  QTemporaryDir dir;
  QFile file(dir.filePath("test.decor"));
  file.open(QIODevice::WriteOnly);
  file.write(lines);
  file.close();
  QList<DecorationItem> items;
  *ok = LoadDecoration(file.fileName(), items, *error);
  error->remove(dir.path() + "/");
  return items;
}

// The pixels darker than the pencil's lightest strokes, inside \a area.
int darkPixels(const QImage& image, const QRect& area)
{
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      count += qGray(image.pixel(x, y)) < 110;
  return count;
}
} // namespace

TEST(Decoration, ATitleTakesItsCentreItsSizeAndItsWords)
{
  QString error;
  bool ok = false;
  const QList<DecorationItem> items = read("horizon 7.6\ntitle 9.5 2.6 0.8 The story goes on...  # evening\n", &error, &ok);
  ASSERT_TRUE(ok) << error.toStdString();
  ASSERT_EQ(items.size(), 2);
  EXPECT_EQ(items[1].kind, "title");
  EXPECT_EQ(items[1].numbers, QList<double>({9.5, 2.6, 0.8}));
  EXPECT_EQ(items[1].text, "The story goes on...");
  EXPECT_EQ(items[1].line, 2);

  read("sun 1 1 0.5\ntitle 9.5 2.6 0.8\n", &error, &ok);
  EXPECT_FALSE(ok);
  EXPECT_EQ(error, "test.decor:2: \"title\" needs its words");
  read("title 9.5 2.6 The end\n", &error, &ok);
  EXPECT_FALSE(ok) << "the size is missing";
  EXPECT_EQ(error, "test.decor:1: \"The\" is not a number");
  read("sign 3 9\n", &error, &ok);
  EXPECT_FALSE(ok);
  EXPECT_EQ(error, "test.decor:1: \"sign\" needs its words");
}

// The words are lettered in the sky around their centre, as large as asked,
// and the rest of the picture is what it is without them.
TEST(LevelPainter, ATitleIsLetteredAroundItsCentre)
{
  ASSERT_TRUE(sketchbook::LoadLettering()) << "the Comic Neue font (fonts-comic-neue)";
  QTemporaryDir dir;
  QFile file(dir.filePath("page.xml"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(R"(<level title="Page"><geometry width="12" height="6"/><start x="1" y="5"/><foreground/></level>)");
  file.close();
  Level level(QSizeF(0, 0));
  ASSERT_TRUE(level.Load(file.fileName()));

  const DecorationItem horizon{"horizon", {5.0}, {}, 1};
  const QImage plain = PaintLevel(level, {horizon}).background;
  const QImage titled = PaintLevel(level, {horizon, {"title", {6.0, 2.0, 0.8}, "The end", 2}}).background;
  ASSERT_EQ(titled.size(), QSize(1200, 600));

  // Letters 80 px tall centred on (600, 200): "The end" is some 250 px wide.
  const QRect words(480, 160, 240, 80);
  EXPECT_EQ(darkPixels(plain, words), 0);
  EXPECT_GT(darkPixels(titled, words), 1500);
  // Centred: as much pencil left of the centre as right of it, give or take a letter.
  const int left = darkPixels(titled, QRect(480, 160, 120, 80)), right = darkPixels(titled, QRect(600, 160, 120, 80));
  EXPECT_NEAR(left, right, (left + right) / 4);
  const QRect beside(0, 0, 1200, 100), below(0, 300, 1200, 300);
  EXPECT_EQ(titled.copy(beside), plain.copy(beside));
  EXPECT_EQ(titled.copy(below), plain.copy(below));
}
