#include "common/BodyUserData.h"
#include "common/GraphicsItemUserData.h"

#include <box2d/b2_body.h>
#include <box2d/b2_world.h>

#include <QGraphicsRectItem>
#include <QVariant>

#include <gtest/gtest.h>

namespace
{
template <typename T>
T* fake(intptr_t value)
{
  return reinterpret_cast<T*>(value);
}
} // namespace

TEST(GraphicsItemUserData, EachKeyHoldsItsOwnBackPointer)
{
  QGraphicsRectItem item;
  EXPECT_EQ(ExtractObjectFromGraphicsItem(&item), nullptr);

  AssignObjectToGraphicsItem(fake<Object>(0x10), &item);
  AssignStickmanToGraphicsItem(fake<Stickman>(0x20), &item);
  AssignStickmanPartToGraphicsItem(fake<DrawingPrimitive>(0x30), &item);
  AssignDoorToGraphicsItem(fake<Door>(0x40), &item);
  AssignLadderToGraphicsItem(fake<Ladder>(0x50), &item);
  AssignInteractiveItemToGraphicsItem(fake<InteractiveItem>(0x60), &item);

  EXPECT_EQ(ExtractObjectFromGraphicsItem(&item), fake<Object>(0x10));
  EXPECT_EQ(ExtractStickmanFromGraphicsItem(&item), fake<Stickman>(0x20));
  EXPECT_EQ(ExtractStickmanPartFromGraphicsItem(&item), fake<DrawingPrimitive>(0x30));
  EXPECT_EQ(ExtractDoorFromGraphicsItem(&item), fake<Door>(0x40));
  EXPECT_EQ(ExtractLadderFromGraphicsItem(&item), fake<Ladder>(0x50));
  EXPECT_EQ(ExtractInteractiveItemFromGraphicsItem(&item), fake<InteractiveItem>(0x60));
  EXPECT_EQ(item.data(int(GraphicsItemDataKey::ObjectKey)).userType(), int(QMetaType::VoidStar));
}

TEST(GraphicsItemUserData, ForeignDataUnderAKeyGivesNull)
{
  QGraphicsRectItem item;
  item.setData(int(GraphicsItemDataKey::LadderKey), QString("not a pointer"));
  EXPECT_EQ(ExtractLadderFromGraphicsItem(&item), nullptr);
}

TEST(BodyUserData, TagsShareOneRecordUntilDestroyed)
{
  b2World world(b2Vec2(0, 9.8f));
  b2BodyDef def;
  b2Body* body = world.CreateBody(&def);
  EXPECT_EQ(ExtractStickmanFromBody(body), nullptr);

  AssignObjectToBody(fake<Object>(0x1), body);
  EXPECT_EQ(ExtractObjectFromBody(body), fake<Object>(0x1));
  EXPECT_EQ(ExtractStickmanFromBody(body), nullptr);

  AssignRagdollToBody(fake<Ragdoll>(0x2), body);
  AssignLiquidToBody(fake<Liquid>(0x3), body);
  AssignStickmanToBody(fake<Stickman>(0x4), body);
  AssignStickmanPartToBody(fake<DrawingPrimitive>(0x5), body);
  AssignDoorToBody(fake<Door>(0x6), body);
  EXPECT_EQ(ExtractObjectFromBody(body), fake<Object>(0x1));
  EXPECT_EQ(ExtractRagdollFromBody(body), fake<Ragdoll>(0x2));
  EXPECT_EQ(ExtractLiquidFromBody(body), fake<Liquid>(0x3));
  EXPECT_EQ(ExtractStickmanFromBody(body), fake<Stickman>(0x4));
  EXPECT_EQ(ExtractStickmanPartFromBody(body), fake<DrawingPrimitive>(0x5));
  EXPECT_EQ(ExtractDoorFromBody(body), fake<Door>(0x6));

  DestroyBodyUserData(body);
  EXPECT_EQ(body->GetUserData().pointer, 0u);
  EXPECT_EQ(ExtractObjectFromBody(body), nullptr);
  DestroyBodyUserData(body); // nothing left to delete
  world.DestroyBody(body);
}
