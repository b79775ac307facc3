#include "GameMenuScene.h"

#include "GraphicsButton.h"

#include "common/FilePaths.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

GameMenuScene::GameMenuScene(QObject* parent) : QGraphicsScene(parent) {}

void GameMenuScene::Init(Mode mode)
{
  const QSize screen = QGuiApplication::primaryScreen()->size();
  const int width = screen.width();
  const int height = screen.height();

  m_background = QPixmap(GetGameMenuBackgroundPath());
  if (!m_background.isNull())
    m_background = m_background.scaledToWidth(width, Qt::FastTransformation);
  m_backgroundX = 0;
  m_backgroundY = (height - m_background.height()) / 2;
  setSceneRect(0, 0, width, height);

  const double buttonHeight = 2 * (height - 0.5 * height) / 15;
  const QSizeF buttonSize(0.5 * width, buttonHeight);
  const double rowStep = buttonHeight + 0.5 * buttonHeight;
  const double x = 0.5 * (width - 0.5 * width);
  const double firstY = 0.5 * height;
  const int pointSize = static_cast<int>(0.5 * buttonHeight);

  auto addButton = [&](const QString& text, int row, int size, void (GameMenuScene::*signal)()) {
    auto* button = new GraphicsButton(text, buttonSize, size, nullptr, this);
    button->setPos(x, firstY + row * rowStep);
    connect(button, &GraphicsButton::clicked, this, signal);
    return button;
  };
  m_continueButton = addButton(tr("Continue"), 0, pointSize, &GameMenuScene::resumeGame);
  m_resumeButton = addButton(tr("Resume playing"), 0, static_cast<int>(0.75 * buttonHeight),
                             &GameMenuScene::restoreLastSession);
  m_restartButton = addButton(tr("Restart level"), 1, pointSize, &GameMenuScene::resetLevel);
  addButton(tr("Start new game"), 2, pointSize, &GameMenuScene::startNewGame);
  addButton(tr("How to play"), 3, pointSize, &GameMenuScene::showHelp);
  addButton(tr("Quit"), 4, pointSize, &GameMenuScene::quit);
  SetMode(mode);
}

void GameMenuScene::SetMode(Mode mode)
{
  switch (mode)
  {
  case NoSession:
    m_continueButton->hide();
    m_resumeButton->hide();
    m_restartButton->hide();
    m_restartButton->SetEnabled(true);
    break;
  case GameRunning:
    m_continueButton->show();
    m_resumeButton->hide();
    m_restartButton->show();
    m_restartButton->SetEnabled(true);
    break;
  case LastSession:
    m_continueButton->hide();
    m_resumeButton->show();
    m_restartButton->show();
    m_restartButton->SetEnabled(false);
    break;
  }
}

void GameMenuScene::drawBackground(QPainter* painter, const QRectF& rect)
{
  // A plain page behind the buttons where the picture does not reach (another
  // screen shape) or when it is missing.
  painter->fillRect(rect, Qt::white);
  if (!m_background.isNull())
    painter->drawPixmap(m_backgroundX, m_backgroundY, m_background);
}
