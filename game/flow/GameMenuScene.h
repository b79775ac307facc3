#pragma once

#include <QGraphicsScene>
#include <QImage>
#include <QList>
#include <QPixmap>

class GraphicsButton;
class QGraphicsSimpleTextItem;

/// The main menu: a screen-sized scene with a background picture and a
/// column of buttons whose visibility follows the mode.
class GameMenuScene : public QGraphicsScene
{
  Q_OBJECT

public:
  enum Mode
  {
    NoSession = 0,
    GameRunning = 1,
    LastSession = 2
  };

  /// A level reached so far, as the levels page shows it.
  struct LevelCard
  {
    QString name;
    QString title;
    QImage picture;
  };

  explicit GameMenuScene(QObject* parent = nullptr);

  /// Builds the menu for the primary screen's size; call once.
  void Init(Mode mode);
  /// Any value but the three modes changes nothing.
  void SetMode(Mode mode);
  /// The level "Resume playing" returns to, by its title.
  void SetResumeLevel(const QString& title);
  /// The level a new game would no longer resume at; when it is set, "Start
  /// new game" asks first. Empty: nothing to lose, no question.
  void SetProgressToLose(const QString& title);
  /// Shows one card per level, any of which starts it (startLevel).
  void ShowLevels(const QList<LevelCard>& levels);
  /// Back to the buttons from another page; false when they are shown already.
  bool ShowMainPage();
  /// Music and sound effects volumes in percent, as the sound page shows them.
  void SetVolumes(int musicPercent, int effectsPercent);

signals:
  void resumeGame();
  void restoreLastSession();
  void resetLevel();
  void startNewGame();
  void showHelp();
  void quit();
  /// The levels page was asked for; the game manager answers with ShowLevels.
  void showLevels();
  void startLevel(QString name);
  /// A volume was changed on the sound page; both in percent.
  void volumesChanged(int musicPercent, int effectsPercent);

protected:
  void drawBackground(QPainter* painter, const QRectF& rect) override;

private:
  void onStartNewGameClicked();
  void changeVolumes(int musicStep, int effectsStep);
  void showPage(const QList<QGraphicsItem*>& items);

  QPixmap m_background;
  int m_backgroundX = 0;
  int m_backgroundY = 0;
  GraphicsButton* m_continueButton = nullptr;
  GraphicsButton* m_restartButton = nullptr;
  GraphicsButton* m_resumeButton = nullptr;
  Mode m_mode = NoSession;
  /// The buttons of the main page, the question's items and the levels' cards.
  QList<QGraphicsItem*> m_mainPage;
  QList<QGraphicsItem*> m_questionPage;
  QList<QGraphicsItem*> m_levelsPage;
  QList<QGraphicsItem*> m_soundPage;
  QGraphicsSimpleTextItem* m_musicVolumeText = nullptr;
  QGraphicsSimpleTextItem* m_effectsVolumeText = nullptr;
  int m_musicPercent = 100;
  int m_effectsPercent = 100;
  QGraphicsSimpleTextItem* m_question = nullptr;
  QString m_progressToLose;
  bool m_onMainPage = true;
};
