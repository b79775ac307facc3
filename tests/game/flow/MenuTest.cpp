#include "flow/GameMenuScene.h"
#include "flow/GraphicsButton.h"
#include "flow/MenuInputHandler.h"

#include <QGraphicsSimpleTextItem>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace
{
/// The menu's visible buttons by label.
QMap<QString, GraphicsButton*> visibleButtons(QGraphicsScene& scene)
{
  QMap<QString, GraphicsButton*> buttons;
  for (QGraphicsItem* item : scene.items())
    if (auto* button = dynamic_cast<GraphicsButton*>(item); button && button->isVisible())
      buttons[button->GetText()] = button;
  return buttons;
}

QColor outline(const GraphicsButton* button)
{
  return button->pen().color();
}

QPointF centreOf(const GraphicsButton* button)
{
  return button->sceneBoundingRect().center();
}

class Menu : public testing::Test
{
protected:
  void SetUp() override
  {
    menu.Init(GameMenuScene::NoSession);
    handler.SetScene(&menu);
  }

  void moveTo(QPointF p)
  {
    QMouseEvent event(QEvent::MouseMove, QPointF(), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    handler.mouseMoveEvent(&event, p);
  }

  void click(QPointF p)
  {
    QMouseEvent event(QEvent::MouseButtonPress, QPointF(), Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    handler.mousePressEvent(&event, p);
  }

  GameMenuScene menu;
  MenuInputHandler handler;
};
} // namespace

TEST_F(Menu, ModesShowTheirButtons)
{
  const QStringList always{"How to play", "Levels", "Quit", "Sound", "Start new game"};
  EXPECT_EQ(visibleButtons(menu).keys(), always);

  menu.SetMode(GameMenuScene::GameRunning);
  EXPECT_EQ(visibleButtons(menu).keys(), (QStringList{"Continue", "How to play", "Levels", "Quit", "Restart level", "Sound", "Start new game"}));
  EXPECT_TRUE(visibleButtons(menu)["Restart level"]->isEnabled());

  menu.SetMode(GameMenuScene::LastSession);
  const auto buttons = visibleButtons(menu);
  EXPECT_EQ(buttons.keys(), (QStringList{"How to play", "Levels", "Quit", "Restart level", "Resume playing", "Sound", "Start new game"}));
  EXPECT_FALSE(buttons["Restart level"]->isEnabled());
  EXPECT_EQ(outline(buttons["Restart level"]), QColor(Qt::lightGray));

  menu.SetMode(static_cast<GameMenuScene::Mode>(7));
  EXPECT_EQ(visibleButtons(menu).keys(), buttons.keys());
}

TEST_F(Menu, LayoutFollowsTheScreen)
{
  const QSize screen = QGuiApplication::primaryScreen()->size();
  EXPECT_EQ(menu.sceneRect(), QRectF(QPointF(0, 0), QSizeF(screen)));
  menu.SetMode(GameMenuScene::GameRunning);
  const auto buttons = visibleButtons(menu);
  const double h = screen.height() / 15.0;
  const QStringList rows{"Continue", "Restart level", "Start new game", "How to play", "Quit"};
  for (int row = 0; row < rows.size(); ++row)
  {
    const GraphicsButton* button = buttons[rows[row]];
    EXPECT_DOUBLE_EQ(button->pos().x(), screen.width() / 4.0) << rows[row].toStdString();
    EXPECT_DOUBLE_EQ(button->pos().y(), screen.height() / 2.0 + row * 1.5 * h) << rows[row].toStdString();
    EXPECT_DOUBLE_EQ(button->path().boundingRect().width(), screen.width() / 2.0);
    EXPECT_DOUBLE_EQ(button->path().boundingRect().height(), h);
  }
}

TEST_F(Menu, HoverMovesFromButtonToButtonAndClicksEmit)
{
  menu.SetMode(GameMenuScene::GameRunning);
  const auto buttons = visibleButtons(menu);
  GraphicsButton* quit = buttons["Quit"];
  GraphicsButton* help = buttons["How to play"];
  moveTo(centreOf(quit));
  EXPECT_EQ(outline(quit), QColor(Qt::red));
  moveTo(centreOf(help));
  EXPECT_EQ(outline(quit), QColor(Qt::darkBlue));
  EXPECT_EQ(outline(help), QColor(Qt::red));
  moveTo(QPointF(1, 1));
  EXPECT_EQ(outline(help), QColor(Qt::darkBlue));

  QSignalSpy quitSpy(&menu, &GameMenuScene::quit);
  QSignalSpy helpSpy(&menu, &GameMenuScene::showHelp);
  QSignalSpy continueSpy(&menu, &GameMenuScene::resumeGame);
  click(centreOf(quit));
  click(QPointF(1, 1));
  click(centreOf(buttons["Continue"]));
  EXPECT_EQ(quitSpy.count(), 1);
  EXPECT_EQ(helpSpy.count(), 0);
  EXPECT_EQ(continueSpy.count(), 1);
}

TEST_F(Menu, ClickingTheLabelIsClickingTheButton)
{
  GraphicsButton* start = visibleButtons(menu)["Start new game"];
  QGraphicsItem* label = start->childItems().value(0);
  ASSERT_NE(dynamic_cast<QGraphicsSimpleTextItem*>(label), nullptr);
  EXPECT_EQ(GraphicsButton::FromItem(label), start);
  EXPECT_EQ(GraphicsButton::FromItem(nullptr), nullptr);
  QSignalSpy spy(&menu, &GameMenuScene::startNewGame);
  click(label->sceneBoundingRect().center());
  EXPECT_EQ(spy.count(), 1);
}

TEST_F(Menu, ADisabledButtonNeitherHighlightsNorClicks)
{
  menu.SetMode(GameMenuScene::LastSession);
  GraphicsButton* restart = visibleButtons(menu)["Restart level"];
  QSignalSpy spy(&menu, &GameMenuScene::resetLevel);
  moveTo(centreOf(restart));
  EXPECT_EQ(outline(restart), QColor(Qt::lightGray));
  click(centreOf(restart));
  EXPECT_EQ(spy.count(), 0);
  QSignalSpy resume(&menu, &GameMenuScene::restoreLastSession);
  click(centreOf(visibleButtons(menu)["Resume playing"]));
  EXPECT_EQ(resume.count(), 1);
}

TEST_F(Menu, EscapeResumesAndANewSceneForgetsTheHoveredButton)
{
  QSignalSpy resume(&handler, &MenuInputHandler::resume);
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  handler.keyPressEvent(&escape);
  EXPECT_EQ(resume.count(), 1);

  GraphicsButton* quit = visibleButtons(menu)["Quit"];
  moveTo(centreOf(quit));
  handler.SetScene(nullptr);
  EXPECT_EQ(outline(quit), QColor(Qt::darkBlue));
  moveTo(centreOf(quit)); // no scene: nothing
  EXPECT_EQ(outline(quit), QColor(Qt::darkBlue));
}

TEST_F(Menu, WhereItsPictureDoesNotReachTheMenuIsAWhitePage)
{
  QImage image(menu.sceneRect().size().toSize(), QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter painter(&image);
  menu.render(&painter);
  painter.end();
  EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::white));
  const QPointF quit = centreOf(visibleButtons(menu)["Quit"]);
  EXPECT_NE(image.pixelColor(quit.toPoint()), QColor(Qt::black));
}
