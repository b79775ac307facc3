#include "world/GraphicsItemVanisher.h"

#include "common/GlobalConstants.h"

#include <QGraphicsOpacityEffect>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QPointer>

#include <gtest/gtest.h>

namespace
{
double opacityOf(QGraphicsItem* item)
{
  return static_cast<QGraphicsOpacityEffect*>(item->graphicsEffect())->opacity();
}

// Counts its own deletion: the vanisher deletes the items it was given.
class CountedItem : public QGraphicsRectItem
{
public:
  explicit CountedItem(int& deleted)
    : QGraphicsRectItem(0, 0, 10, 10)
    , m_deleted(deleted)
  {
  }
  ~CountedItem() override { ++m_deleted; }

private:
  int& m_deleted;
};
} // namespace

TEST(GraphicsItemVanisherTest, FadesOutOverOneSecondOfTicksThenDeletesTheItem)
{
  QGraphicsScene scene;
  int deleted = 0;
  auto* item = new CountedItem(deleted);
  scene.addItem(item);
  GraphicsItemVanisher vanisher(bv::SecondsToVanish, bv::TickIntervalSec);
  vanisher.AddItemToVanish(item);
  EXPECT_DOUBLE_EQ(opacityOf(item), 1.0);

  vanisher.Advance();
  EXPECT_NEAR(opacityOf(item), 1.0 - 0.016, 1e-9);
  // 62.5 ticks to vanish: the item is still there after 62 and gone at 63.
  for (int tick = 2; tick <= 62; ++tick)
    vanisher.Advance();
  EXPECT_EQ(deleted, 0);
  EXPECT_GT(opacityOf(item), 0.0);
  vanisher.Advance();
  EXPECT_EQ(deleted, 1);
  EXPECT_TRUE(scene.items().isEmpty());
  vanisher.Advance();
  EXPECT_EQ(deleted, 1);
}

TEST(GraphicsItemVanisherTest, AbortingMakesItemsVisibleAgainAndKeepsThem)
{
  QGraphicsScene scene;
  int deleted = 0;
  auto* item = new CountedItem(deleted);
  scene.addItem(item);
  GraphicsItemVanisher vanisher(1.0, 0.25);
  vanisher.AddItemToVanish(item);
  vanisher.Advance();
  vanisher.AbortVanishing();
  EXPECT_EQ(item->graphicsEffect(), nullptr);
  for (int tick = 0; tick < 10; ++tick)
    vanisher.Advance();
  EXPECT_EQ(deleted, 0);
  EXPECT_EQ(scene.items().size(), 1);
}

TEST(GraphicsItemVanisherTest, ItemsVanishIndependently)
{
  QGraphicsScene scene;
  int deleted = 0;
  auto* first = new CountedItem(deleted);
  auto* second = new CountedItem(deleted);
  scene.addItem(first);
  scene.addItem(second);
  GraphicsItemVanisher vanisher(1.0, 0.25);
  vanisher.AddItemToVanish(first);
  vanisher.Advance();
  vanisher.Advance();
  vanisher.AddItemToVanish(second);
  vanisher.Advance();
  vanisher.Advance();
  EXPECT_EQ(deleted, 1);
  EXPECT_EQ(scene.items(), QList<QGraphicsItem*>{second});
  vanisher.Advance();
  vanisher.Advance();
  EXPECT_EQ(deleted, 2);
}
