#pragma once

#include "InputHandler.h"

#include <QList>
#include <QObject>
#include <QTimer>

/// Play: keys become stickman commands, left-button strokes with Control held
/// become drawing commands. Held movement keys repeat every 100 ms on the
/// handler's own timer; the keyboard's auto-repeat is ignored.
class GameInputHandler : public QObject, public InputHandler
{
  Q_OBJECT

public:
  explicit GameInputHandler(QObject* parent = nullptr);

  void Start() override;
  void Stop() override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event, QPointF scenePos) override;
  void mouseReleaseEvent(QMouseEvent* event, QPointF scenePos) override;
  void mouseMoveEvent(QMouseEvent* event, QPointF scenePos) override;

  /// Interval of the repeat of held keys.
  static constexpr int RepeatIntervalMs = 100;

signals:
  void enterDrawingMode();
  void exitDrawingMode();
  void drawingMoveTo(QPointF startPoint);
  void drawingLineTo(QPointF endPoint);
  /// Backspace: the last stroke of the drawing in progress is taken back.
  void removeLastStroke();
  void moveLeft();
  void moveRight();
  void moveUp();
  void moveDown();
  void pickUpItem();
  void useItem();
  void goToMenu();
  void jump();
  void saveLastObject(int id);
  void loadObject(int id, QPointF atPosition);

private slots:
  void processedPressedKeys();

private:
  /// \a firstPress is false on the repeat ticks.
  void processPressedKey(int key, bool firstPress, Qt::KeyboardModifiers modifiers);

  QPointF m_lastMousePosition;
  QList<int> m_heldKeys;
  QTimer m_repeatTimer; // a child too, so that it can be found by tests and tools
  bool m_active = false;
};
