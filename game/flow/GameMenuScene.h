#pragma once

#include <QGraphicsScene>
#include <QPixmap>

class GraphicsButton;

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

  explicit GameMenuScene(QObject* parent = nullptr);

  /// Builds the menu for the primary screen's size; call once.
  void Init(Mode mode);
  /// Any value but the three modes changes nothing.
  void SetMode(Mode mode);

signals:
  void resumeGame();
  void restoreLastSession();
  void resetLevel();
  void startNewGame();
  void showHelp();
  void quit();

protected:
  void drawBackground(QPainter* painter, const QRectF& rect) override;

private:
  QPixmap m_background;
  int m_backgroundX = 0;
  int m_backgroundY = 0;
  GraphicsButton* m_continueButton = nullptr;
  GraphicsButton* m_restartButton = nullptr;
  GraphicsButton* m_resumeButton = nullptr;
};
