#pragma once

#include "flow/InputScript.h"

#include <QEvent>
#include <QImage>
#include <QObject>
#include <QString>
#include <QWidget>

#include <memory>

class GeneralManager;

/// The real game manager in a window that is never shown, ticked by hand as
/// fast as the machine goes, with input synthesised as the window would
/// deliver it. Held keys repeat on game time, every 100 ms of ticks.
class LevelPlayer : public QObject
{
  Q_OBJECT

public:
  enum Outcome
  {
    Playing,
    Finished,
    Killed
  };

  /// The window's size; \a throws std::runtime_error when data files are missing.
  explicit LevelPlayer(QSize windowSize = QSize(1280, 720));
  ~LevelPlayer() override;

  /// Starts \a level as a new game would; false (with \a error) when it fails to load.
  bool Start(const QString& level, QString* error);
  /// One game tick while the level is shown; nothing in the menu.
  void Tick();

  /// Sends one scripted event; a stroke is drawn with Control held.
  void Send(const InputScript::Event& event);
  void PressKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
  void ReleaseKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
  /// Points in scene pixels.
  void Click(QPointF scenePos, Qt::MouseButton button = Qt::LeftButton);
  void Stroke(const QPolygonF& scenePoints);
  /// A click on the window pixel \a windowPos, whatever is shown.
  void ClickWindow(QPoint windowPos);

  /// Ticks run since the last Start.
  int GetTicks() const { return m_ticks; }
  Outcome GetOutcome() const { return m_outcome; }
  /// The level Start was given (the level the outcome is about).
  const QString& GetLevel() const { return m_level; }
  /// The next level named by the finish area reached; empty otherwise.
  const QString& GetNextLevel() const { return m_nextLevel; }
  /// Objects and fixed ladders in the level now.
  int CountObjects() const;
  /// Those of the level Start was given: as the outcome found them, or now.
  int GetFinalObjectCount() const;
  /// The last frame of the level Start was given.
  QImage GetFinalFrame() const;
  /// The level message when one failed to load while playing.
  const QString& GetLevelError() const { return m_levelError; }
  GeneralManager* GetManager() const { return m_manager.get(); }

  QImage Render() const;

private:
  /// Records the outcome once; \a nextLevel is empty at the last level.
  void finish(const QString& nextLevel);
  void repeatHeldKeys();
  void mouse(QEvent::Type type, QPointF scenePos, Qt::MouseButton button, Qt::MouseButtons buttons,
             Qt::KeyboardModifiers modifiers);
  QPoint toWindow(QPointF scenePos) const;

  QWidget m_window;
  std::unique_ptr<GeneralManager> m_manager;
  QString m_level;
  QString m_nextLevel;
  QString m_levelError;
  Outcome m_outcome = Playing;
  int m_objectsAtOutcome = 0;
  QImage m_frameAtOutcome;
  int m_ticks = 0;
  int m_repeatElapsedMs = 0;
  Qt::KeyboardModifiers m_heldModifiers = Qt::NoModifier;
};
