#include "flow/AnyKeyInputHandler.h"
#include "flow/CutsceneInputHandler.h"
#include "flow/GameInputHandler.h"
#include "flow/GameOverInputHandler.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTimer>

#include <gtest/gtest.h>

namespace
{
QKeyEvent press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool autoRepeat = false)
{
  return QKeyEvent(QEvent::KeyPress, key, modifiers, QString(), autoRepeat);
}

QKeyEvent release(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool autoRepeat = false)
{
  return QKeyEvent(QEvent::KeyRelease, key, modifiers, QString(), autoRepeat);
}

QMouseEvent mouse(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
  return QMouseEvent(type, QPointF(5, 5), button, buttons, modifiers);
}

class GameInput : public testing::Test
{
protected:
  void SetUp() override { handler.Start(); }

  void keyDown(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
  {
    QKeyEvent event = press(key, modifiers);
    handler.keyPressEvent(&event);
  }

  void keyUp(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
  {
    QKeyEvent event = release(key, modifiers);
    handler.keyReleaseEvent(&event);
  }

  QTimer* repeatTimer() { return handler.findChild<QTimer*>(); }

  /// One tick of the repeat timer, without waiting for it.
  void repeatTick() { QMetaObject::invokeMethod(repeatTimer(), "timeout"); }

  GameInputHandler handler;
  QSignalSpy left{&handler, &GameInputHandler::moveLeft};
  QSignalSpy right{&handler, &GameInputHandler::moveRight};
  QSignalSpy up{&handler, &GameInputHandler::moveUp};
  QSignalSpy down{&handler, &GameInputHandler::moveDown};
  QSignalSpy jump{&handler, &GameInputHandler::jump};
  QSignalSpy use{&handler, &GameInputHandler::useItem};
  QSignalSpy pickUp{&handler, &GameInputHandler::pickUpItem};
  QSignalSpy menu{&handler, &GameInputHandler::goToMenu};
  QSignalSpy enterDrawing{&handler, &GameInputHandler::enterDrawingMode};
  QSignalSpy exitDrawing{&handler, &GameInputHandler::exitDrawingMode};
  QSignalSpy moveTo{&handler, &GameInputHandler::drawingMoveTo};
  QSignalSpy lineTo{&handler, &GameInputHandler::drawingLineTo};
  QSignalSpy undo{&handler, &GameInputHandler::removeLastStroke};
  QSignalSpy save{&handler, &GameInputHandler::saveLastObject};
  QSignalSpy load{&handler, &GameInputHandler::loadObject};
};
} // namespace

TEST_F(GameInput, EachKeyActsAtOnceOnItsFirstPress)
{
  for (int key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Return, Qt::Key_Space, Qt::Key_Shift})
  {
    keyDown(key);
    keyUp(key);
  }
  for (QSignalSpy* spy : {&left, &right, &up, &down, &jump, &use, &pickUp})
    EXPECT_EQ(spy->count(), 1);
  keyDown(Qt::Key_Enter); // the keypad's Enter does not jump
  keyDown(Qt::Key_A);
  EXPECT_EQ(jump.count(), 1);
  EXPECT_EQ(menu.count() + enterDrawing.count() + save.count() + load.count(), 0);
}

TEST_F(GameInput, KeyboardAutoRepeatIsIgnoredBothWays)
{
  keyDown(Qt::Key_Left);
  QKeyEvent repeatedPress = press(Qt::Key_Left, Qt::NoModifier, true);
  QKeyEvent repeatedRelease = release(Qt::Key_Left, Qt::NoModifier, true);
  for (int i = 0; i < 5; ++i)
  {
    handler.keyReleaseEvent(&repeatedRelease);
    handler.keyPressEvent(&repeatedPress);
  }
  EXPECT_EQ(left.count(), 1);
  // The auto-repeated releases did not let go of the key: the own repeat goes on.
  EXPECT_TRUE(repeatTimer()->isActive());
  repeatTick();
  EXPECT_EQ(left.count(), 2);
}

TEST_F(GameInput, HeldKeysRepeatEveryHundredMillisecondsInPressOrder)
{
  QList<QString> order;
  QObject::connect(&handler, &GameInputHandler::moveLeft, [&] { order << "left"; });
  QObject::connect(&handler, &GameInputHandler::moveUp, [&] { order << "up"; });
  ASSERT_NE(repeatTimer(), nullptr);
  EXPECT_FALSE(repeatTimer()->isActive());
  keyDown(Qt::Key_Left);
  keyDown(Qt::Key_Up);
  EXPECT_EQ(repeatTimer()->interval(), 100);
  EXPECT_TRUE(repeatTimer()->isActive());
  EXPECT_FALSE(repeatTimer()->isSingleShot());
  order.clear();
  for (int i = 0; i < 10; ++i)
    repeatTick();
  EXPECT_EQ(left.count(), 11);
  EXPECT_EQ(up.count(), 11);
  EXPECT_EQ(order.mid(0, 4), (QList<QString>{"left", "up", "left", "up"}));

  keyUp(Qt::Key_Left);
  EXPECT_TRUE(repeatTimer()->isActive());
  repeatTick();
  EXPECT_EQ(left.count(), 11);
  EXPECT_EQ(up.count(), 12);
  keyUp(Qt::Key_Up);
  EXPECT_FALSE(repeatTimer()->isActive());
}

TEST_F(GameInput, ActionKeysDoNotRepeat)
{
  keyDown(Qt::Key_Space);
  keyDown(Qt::Key_Shift);
  keyDown(Qt::Key_Return);
  keyDown(Qt::Key_Control);
  keyDown(Qt::Key_3);
  for (int i = 0; i < 5; ++i)
    repeatTick();
  EXPECT_EQ(use.count(), 1);
  EXPECT_EQ(pickUp.count(), 1);
  EXPECT_EQ(enterDrawing.count(), 1);
  EXPECT_EQ(load.count(), 1);
  EXPECT_EQ(jump.count(), 6); // jumping repeats while held
}

TEST_F(GameInput, EscapeGoesToTheMenuButNotWhileControlIsHeld)
{
  keyDown(Qt::Key_Escape, Qt::ControlModifier);
  EXPECT_EQ(menu.count(), 0);
  keyDown(Qt::Key_Escape, Qt::ShiftModifier);
  EXPECT_EQ(menu.count(), 1);
  keyDown(Qt::Key_Escape);
  EXPECT_EQ(menu.count(), 2);
  repeatTick();
  EXPECT_EQ(menu.count(), 2);
}

TEST_F(GameInput, BackspaceTakesBackOneStrokePerPress)
{
  keyDown(Qt::Key_Control);
  keyDown(Qt::Key_Backspace, Qt::ControlModifier);
  EXPECT_EQ(undo.count(), 1);
  repeatTick();
  EXPECT_EQ(undo.count(), 1);
  keyDown(Qt::Key_Backspace, Qt::ControlModifier);
  EXPECT_EQ(undo.count(), 2);
}

TEST_F(GameInput, DigitsSaveWithAltAndLoadAtTheLastPressWithoutModifiers)
{
  QMouseEvent click = mouse(QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, Qt::NoModifier);
  handler.mousePressEvent(&click, QPointF(120, 340));
  keyDown(Qt::Key_3, Qt::AltModifier);
  ASSERT_EQ(save.count(), 1);
  EXPECT_EQ(save[0][0].toInt(), 3);
  EXPECT_EQ(load.count(), 0);

  keyDown(Qt::Key_7);
  ASSERT_EQ(load.count(), 1);
  EXPECT_EQ(load[0][0].toInt(), 7);
  EXPECT_EQ(load[0][1].toPointF(), QPointF(120, 340));

  keyDown(Qt::Key_0);
  EXPECT_EQ(load.last()[0].toInt(), 0);
  keyDown(Qt::Key_3, Qt::ShiftModifier);
  keyDown(Qt::Key_3, Qt::ControlModifier);
  keyDown(Qt::Key_3, Qt::AltModifier | Qt::ShiftModifier);
  EXPECT_EQ(save.count(), 1);
  EXPECT_EQ(load.count(), 2);
}

TEST_F(GameInput, DrawingNeedsControlAndTheLeftButton)
{
  QMouseEvent plainPress = mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QMouseEvent plainMove = mouse(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  handler.mousePressEvent(&plainPress, QPointF(1, 1));
  handler.mouseMoveEvent(&plainMove, QPointF(2, 2));
  QMouseEvent rightPress = mouse(QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, Qt::ControlModifier);
  handler.mousePressEvent(&rightPress, QPointF(3, 3));
  EXPECT_EQ(moveTo.count() + lineTo.count(), 0);

  QList<QString> order;
  QObject::connect(&handler, &GameInputHandler::enterDrawingMode, [&] { order << "enter"; });
  QObject::connect(&handler, &GameInputHandler::drawingMoveTo, [&] { order << "moveTo"; });
  QObject::connect(&handler, &GameInputHandler::drawingLineTo, [&] { order << "lineTo"; });
  QObject::connect(&handler, &GameInputHandler::exitDrawingMode, [&] { order << "exit"; });
  keyDown(Qt::Key_Control, Qt::ControlModifier);
  QMouseEvent down = mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, Qt::ControlModifier);
  QMouseEvent move = mouse(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, Qt::ControlModifier);
  QMouseEvent up = mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, Qt::ControlModifier);
  handler.mousePressEvent(&down, QPointF(10, 10));
  handler.mouseMoveEvent(&move, QPointF(20, 15));
  handler.mouseMoveEvent(&move, QPointF(30, 25));
  handler.mouseReleaseEvent(&up, QPointF(40, 30));
  keyUp(Qt::Key_Control);
  EXPECT_EQ(order, (QList<QString>{"enter", "moveTo", "lineTo", "lineTo", "lineTo", "exit"}));
  EXPECT_EQ(moveTo[0][0].toPointF(), QPointF(10, 10));
  EXPECT_EQ(lineTo.last()[0].toPointF(), QPointF(40, 30));
}

TEST_F(GameInput, StoppingForgetsHeldKeysWithoutEndingADrawing)
{
  keyDown(Qt::Key_Control);
  keyDown(Qt::Key_Left);
  handler.Stop();
  EXPECT_FALSE(repeatTimer()->isActive());
  EXPECT_EQ(exitDrawing.count(), 0);
  handler.Start();
  EXPECT_FALSE(repeatTimer()->isActive());
  repeatTick();
  EXPECT_EQ(left.count(), 1);
}

TEST_F(GameInput, AnInactiveHandlerActsOnPressesButNeverRepeats)
{
  handler.Stop();
  keyDown(Qt::Key_Right);
  EXPECT_EQ(right.count(), 1);
  EXPECT_FALSE(repeatTimer()->isActive());
}

TEST(SimpleInputHandlers, AnyKeyLeavesEvenOnAutoRepeat)
{
  AnyKeyInputHandler handler;
  QSignalSpy spy(&handler, &AnyKeyInputHandler::anyKeyPressed);
  QKeyEvent a = press(Qt::Key_A);
  QKeyEvent repeated = press(Qt::Key_Escape, Qt::NoModifier, true);
  handler.keyPressEvent(&a);
  handler.keyPressEvent(&repeated);
  QMouseEvent click = mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  handler.mousePressEvent(&click, QPointF());
  EXPECT_EQ(spy.count(), 2);
}

TEST(SimpleInputHandlers, CutsceneSkipsOnSpaceAndClicksAndLeavesOnEscape)
{
  CutsceneInputHandler handler;
  QSignalSpy skip(&handler, &CutsceneInputHandler::skipCutsceneCue);
  QSignalSpy menu(&handler, &CutsceneInputHandler::goToMenu);
  QKeyEvent space = press(Qt::Key_Space);
  QKeyEvent escape = press(Qt::Key_Escape);
  QKeyEvent other = press(Qt::Key_Left);
  handler.keyPressEvent(&space);
  handler.keyPressEvent(&other);
  QMouseEvent right = mouse(QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, Qt::NoModifier);
  handler.mousePressEvent(&right, QPointF());
  QMouseEvent rightUp = mouse(QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, Qt::NoModifier);
  handler.mouseReleaseEvent(&rightUp, QPointF());
  EXPECT_EQ(skip.count(), 2);
  EXPECT_EQ(menu.count(), 0);
  handler.keyPressEvent(&escape);
  EXPECT_EQ(menu.count(), 1);
}

TEST(SimpleInputHandlers, GameOverOnlyLeavesOnEscape)
{
  GameOverInputHandler handler;
  QSignalSpy menu(&handler, &GameOverInputHandler::goToMenu);
  QKeyEvent space = press(Qt::Key_Space);
  QKeyEvent escape = press(Qt::Key_Escape);
  handler.keyPressEvent(&space);
  EXPECT_EQ(menu.count(), 0);
  handler.keyPressEvent(&escape);
  EXPECT_EQ(menu.count(), 1);
}
