#include "GameMenuScene.h"

#include "GraphicsButton.h"

#include "common/FilePaths.h"

#include <QGraphicsSimpleTextItem>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <algorithm>

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
    if (signal)
      connect(button, &GraphicsButton::clicked, this, signal);
    return button;
  };
  m_continueButton = addButton(tr("Continue"), 0, pointSize, &GameMenuScene::resumeGame);
  m_resumeButton = addButton(tr("Resume playing"), 0, static_cast<int>(0.75 * buttonHeight),
                             &GameMenuScene::restoreLastSession);
  m_restartButton = addButton(tr("Restart level"), 1, pointSize, &GameMenuScene::resetLevel);
  GraphicsButton* newGame = addButton(tr("Start new game"), 2, pointSize, nullptr);
  connect(newGame, &GraphicsButton::clicked, this, &GameMenuScene::onStartNewGameClicked);
  m_mainPage = {m_continueButton, m_resumeButton, m_restartButton, newGame,
                addButton(tr("How to play"), 3, pointSize, &GameMenuScene::showHelp),
                addButton(tr("Quit"), 4, pointSize, &GameMenuScene::quit)};
  // Above the column, below the title, side by side: the levels reached so far and the sound.
  const QSizeF halfSize(0.5 * (buttonSize.width() - 0.5 * buttonHeight), buttonHeight);
  auto* levels = new GraphicsButton(tr("Levels"), halfSize, pointSize, nullptr, this);
  levels->setPos(x, firstY - rowStep);
  connect(levels, &GraphicsButton::clicked, this, &GameMenuScene::showLevels);
  auto* sound = new GraphicsButton(tr("Sound"), halfSize, pointSize, nullptr, this);
  sound->setPos(x + buttonSize.width() - halfSize.width(), firstY - rowStep);
  connect(sound, &GraphicsButton::clicked, this, [this] { showPage(m_soundPage); });
  m_mainPage << levels << sound;

  m_question = addSimpleText(QString());
  QFont font = m_question->font();
  font.setPointSize(static_cast<int>(0.4 * buttonHeight));
  font.setWeight(QFont::Bold);
  m_question->setFont(font);
  m_question->setBrush(QColor(Qt::darkBlue));
  m_question->setPos(x, firstY);
  GraphicsButton* yes = addButton(tr("Yes, start a new game"), 2, pointSize, &GameMenuScene::startNewGame);
  GraphicsButton* no = addButton(tr("No"), 3, pointSize, nullptr);
  connect(no, &GraphicsButton::clicked, this, &GameMenuScene::ShowMainPage);
  m_questionPage = {m_question, yes, no};

  // The sound page: each volume with a button to lower and one to raise it.
  const QSizeF small(buttonHeight, buttonHeight);
  const auto volumeRow = [&](int row, int musicStep, int effectsStep) {
    QGraphicsSimpleTextItem* text = addSimpleText(QString(), font);
    text->setBrush(QColor(Qt::darkBlue));
    text->setPos(x, firstY + row * rowStep + 0.15 * buttonHeight);
    auto* lower = new GraphicsButton(QStringLiteral("\u2212"), small, pointSize, nullptr, this);
    lower->setPos(x + buttonSize.width() - 2 * small.width() - 0.5 * buttonHeight, firstY + row * rowStep);
    connect(lower, &GraphicsButton::clicked, this, [=] { changeVolumes(-musicStep, -effectsStep); });
    auto* raise = new GraphicsButton(QStringLiteral("+"), small, pointSize, nullptr, this);
    raise->setPos(x + buttonSize.width() - small.width(), firstY + row * rowStep);
    connect(raise, &GraphicsButton::clicked, this, [=] { changeVolumes(musicStep, effectsStep); });
    m_soundPage << text << lower << raise;
    return text;
  };
  constexpr int StepPercent = 10;
  m_musicVolumeText = volumeRow(0, StepPercent, 0);
  m_effectsVolumeText = volumeRow(1, 0, StepPercent);
  GraphicsButton* back = addButton(tr("Back"), 3, pointSize, nullptr);
  connect(back, &GraphicsButton::clicked, this, &GameMenuScene::ShowMainPage);
  m_soundPage << back;
  SetVolumes(m_musicPercent, m_effectsPercent);
  SetMode(mode);
  showPage(m_mainPage);
}

void GameMenuScene::SetResumeLevel(const QString& title)
{
  m_resumeButton->SetText(title.isEmpty() ? tr("Resume playing") : tr("Resume: %1").arg(title));
}

void GameMenuScene::SetProgressToLose(const QString& title)
{
  m_progressToLose = title;
}

void GameMenuScene::onStartNewGameClicked()
{
  if (m_progressToLose.isEmpty())
  {
    emit startNewGame();
    return;
  }
  m_question->setText(tr("Start again from the first level?\n\"Resume\" will no longer take you to %1.")
                        .arg(m_progressToLose));
  showPage(m_questionPage);
}

void GameMenuScene::ShowLevels(const QList<LevelCard>& levels)
{
  qDeleteAll(m_levelsPage);
  m_levelsPage.clear();
  const double width = sceneRect().width(), height = sceneRect().height();
  constexpr int Columns = 3;
  const int rows = (levels.size() + Columns - 1) / Columns;
  const double gap = 0.03 * width;
  const double cardWidth = 0.26 * width;
  const double cardHeight = std::min(0.24 * height, 0.46 * height / std::max(1, rows) - gap);
  const double left = 0.5 * (width - Columns * cardWidth - (Columns - 1) * gap);
  for (int i = 0; i < levels.size(); ++i)
  {
    auto* card = new GraphicsButton(levels[i].title, QSizeF(cardWidth, cardHeight),
                                    static_cast<int>(0.09 * cardHeight), nullptr, this);
    card->SetPicture(levels[i].picture);
    card->setPos(left + (i % Columns) * (cardWidth + gap), 0.4 * height + (i / Columns) * (cardHeight + gap));
    const QString name = levels[i].name;
    connect(card, &GraphicsButton::clicked, this, [this, name] { emit startLevel(name); });
    m_levelsPage << card;
  }
  const double buttonHeight = height / 15;
  auto* back = new GraphicsButton(tr("Back"), QSizeF(0.25 * width, buttonHeight), static_cast<int>(0.5 * buttonHeight),
                                  nullptr, this);
  back->setPos(0.375 * width, 0.9 * height);
  connect(back, &GraphicsButton::clicked, this, &GameMenuScene::ShowMainPage);
  m_levelsPage << back;
  showPage(m_levelsPage);
}

void GameMenuScene::SetVolumes(int musicPercent, int effectsPercent)
{
  m_musicPercent = std::clamp(musicPercent, 0, 100);
  m_effectsPercent = std::clamp(effectsPercent, 0, 100);
  m_musicVolumeText->setText(tr("Music: %1 %").arg(m_musicPercent));
  m_effectsVolumeText->setText(tr("Effects: %1 %").arg(m_effectsPercent));
}

void GameMenuScene::changeVolumes(int musicStep, int effectsStep)
{
  SetVolumes(m_musicPercent + musicStep, m_effectsPercent + effectsStep);
  emit volumesChanged(m_musicPercent, m_effectsPercent);
}

bool GameMenuScene::ShowMainPage()
{
  if (m_onMainPage)
    return false;
  showPage(m_mainPage);
  return true;
}

void GameMenuScene::showPage(const QList<QGraphicsItem*>& items)
{
  for (QGraphicsItem* item : m_mainPage + m_questionPage + m_levelsPage + m_soundPage)
    item->hide();
  for (QGraphicsItem* item : items)
    item->show();
  m_onMainPage = &items == &m_mainPage;
  if (m_onMainPage)
    SetMode(m_mode);
}

void GameMenuScene::SetMode(Mode mode)
{
  if (mode != NoSession && mode != GameRunning && mode != LastSession)
    return;
  m_mode = mode;
  if (!m_onMainPage)
    return;
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
