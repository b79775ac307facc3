#include "world/ArtisticDrawing.h"

#include <QGraphicsScene>
#include <QImage>
#include <QPainter>
#include <QStyleOptionGraphicsItem>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>

namespace
{
/// The drawing painted alone on white, \a margin pixels around its path.
QImage render(ArtisticDrawing& drawing, int margin = 4)
{
  const QRectF r = drawing.path().boundingRect().adjusted(-margin, -margin, margin, margin);
  QImage image(r.size().toSize(), QImage::Format_ARGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.translate(-r.topLeft());
  QStyleOptionGraphicsItem option;
  drawing.paint(&painter, &option, nullptr);
  return image;
}

/// Pixels neither white nor the stroke's black: the faint hatch lines.
int faintPixels(const QImage& image)
{
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
    {
      const int grey = qGray(image.pixel(x, y));
      count += grey > 60 && grey < 250 ? 1 : 0;
    }
  return count;
}
} // namespace

TEST(ArtisticDrawingTest, TheItemShowsTheStrokeAsDrawn)
{
  ArtisticDrawing drawing;
  drawing.moveTo(QPointF(10, 10));
  EXPECT_TRUE(drawing.path().isEmpty()) << "shown from the first line on";
  drawing.lineTo(QPointF(50, 10));
  drawing.lineTo(QPointF(50, 40));
  drawing.moveTo(QPointF(0, 0));
  drawing.lineTo(QPointF(5, 5));
  EXPECT_EQ(drawing.path().elementCount(), 5);
  EXPECT_EQ(drawing.path().fillRule(), Qt::WindingFill);
  EXPECT_EQ(drawing.path().boundingRect(), QRectF(0, 0, 50, 40));

  drawing.translateContents(QPointF(-25, -20));
  EXPECT_EQ(drawing.path().boundingRect(), QRectF(-25, -20, 50, 40));

  drawing.removeLastStroke();
  EXPECT_EQ(drawing.path().elementCount(), 3);
  EXPECT_EQ(drawing.path().boundingRect(), QRectF(-15, -10, 40, 30));
}

// The scene's index must hear of every change of the item's rectangle before
// it happens: otherwise it keeps the item at its old place and hands it out
// from there after the item left the scene (a drawn ladder's stroke was
// painted after it was deleted). Such a stale entry shows once the item, out
// of the scene, comes back to its old place.
TEST(ArtisticDrawingTest, LeavesNoStaleEntryInTheScenesIndex)
{
  const QRectF farAway(1040, 990, 20, 20);
  const auto staleAfter = [&farAway](const std::function<void(ArtisticDrawing&)>& change,
                                     const std::function<void(ArtisticDrawing&)>& undo) {
    QGraphicsScene scene(0, 0, 2000, 2000);
    ArtisticDrawing drawing;
    scene.addItem(&drawing);
    drawing.moveTo(QPointF(1000, 1000));
    drawing.lineTo(QPointF(1100, 1000));
    drawing.lineTo(QPointF(1100, 1500));
    EXPECT_TRUE(scene.items(farAway).contains(&drawing)) << "indexed where drawn";
    change(drawing);
    scene.removeItem(&drawing);
    undo(drawing);
    return scene.items(farAway).contains(&drawing);
  };

  EXPECT_FALSE(staleAfter([](ArtisticDrawing& d) { d.translateContents(QPointF(-1000, -1000)); },
                          [](ArtisticDrawing& d) { d.translateContents(QPointF(1000, 1000)); }))
      << "contents moved";
  EXPECT_FALSE(staleAfter([](ArtisticDrawing& d) { d.setPath(QPainterPath(QPointF(5, 5))); },
                          [](ArtisticDrawing& d) {
                            QPainterPath back(QPointF(1000, 1000));
                            back.lineTo(1100, 1000);
                            d.setPath(back);
                          }))
      << "path replaced";
}

TEST(ArtisticDrawingTest, HatchesOnlyBetweenNearbyPointsOfAStroke)
{
  std::srand(7);
  // A small circle: chords join its points across the inside.
  ArtisticDrawing tight;
  tight.setPen(QPen(Qt::black, 3));
  tight.moveTo(QPointF(12, 0));
  for (int i = 1; i <= 30; ++i)
    tight.lineTo(QPointF(12 * std::cos(i * M_PI / 15), 12 * std::sin(i * M_PI / 15)));
  EXPECT_GT(faintPixels(render(tight)), 40);

  // Two long straight strokes far apart: consecutive points 40 px apart and
  // no other point within 30 px, so nothing to hatch.
  ArtisticDrawing sparse;
  sparse.setPen(QPen(Qt::black, 3));
  sparse.moveTo(QPointF(0, 0));
  for (int i = 1; i < 6; ++i)
    sparse.lineTo(QPointF(i * 40, 0));
  sparse.moveTo(QPointF(0, 100));
  sparse.lineTo(QPointF(200, 100));
  EXPECT_EQ(faintPixels(render(sparse, 0)), 0);
}

TEST(ArtisticDrawingTest, SetPathRebuildsFromAnyPath)
{
  QPainterPath path;
  path.moveTo(0, 0);
  path.lineTo(10, 0);
  path.cubicTo(20, 0, 20, 10, 30, 10);
  ArtisticDrawing drawing;
  drawing.setPath(path);
  EXPECT_EQ(drawing.path().elementCount(), path.elementCount());
  for (int i = 1; i < drawing.path().elementCount(); ++i)
    EXPECT_TRUE(drawing.path().elementAt(i).isLineTo()) << i;
  EXPECT_EQ(drawing.path().boundingRect(), QRectF(0, 0, 30, 10));

  drawing.setPath(QPainterPath());
  EXPECT_TRUE(drawing.path().isEmpty());
  render(drawing);
}
