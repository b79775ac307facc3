#pragma once

#include "InputScript.h"

#include <QEvent>
#include <QImage>
#include <QObject>
#include <QString>

class GeneralManager;
class QWidget;

/// Plays a level of the real game tick by tick, as fast as the machine goes.
/// Input goes to the game window as Qt key and mouse events, which the
/// window's own handlers take as they take a player's. Held keys repeat on
/// game time, every 100 ms of ticks. A frame is painted after every tick and
/// every input event, as the window paints it: a shown window paints itself,
/// a hidden one into an image of its size. brisvel-play plays through a
/// hidden window; the game replays an input script in its own window
/// (BRISVEL_REPLAY).
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

  /// Replays seed rand with it, so that they repeat.
  static constexpr unsigned DefaultSeed = 1;
  /// Where a replay gives up when the level has not ended.
  static constexpr int DefaultUntilTicks = 10000;

  /// \a window is a game window that forwards its events to \a manager; neither
  /// is owned, and the game ticks only through Tick from here on. Made before
  /// the first game starts, it sees each outcome before the game moves on.
  LevelPlayer(QWidget* window, GeneralManager* manager);
  ~LevelPlayer() override;

  /// Starts \a level as a new game would; false (with \a error) when it fails to load.
  bool Start(const QString& level, QString* error);
  /// Starts \a level from the menu as a player does: "Resume playing" when the
  /// menu offers it, "Start new game" otherwise. False (with \a error) when
  /// that does not start \a level.
  bool StartFromMenu(const QString& level, QString* error);
  /// One game tick while the level is shown (nothing in the menu), then its frame.
  void Tick();
  /// Sends the events of \a level's script at their ticks until the level
  /// ends or \a untilTicks ticks have run. Escape in a script pauses; the
  /// player then goes on as "Continue" would.
  void Replay(const QList<InputScript::Event>& events, int untilTicks);
  /// Painting the frames is on unless switched off (for experiments).
  void SetRendering(bool on) { m_rendering = on; }

  /// Sends one scripted event; a stroke is drawn with Control held.
  void Send(const InputScript::Event& event);
  void PressKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
  void ReleaseKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
  /// Points in scene pixels.
  void Click(QPointF scenePos, Qt::MouseButton button = Qt::LeftButton);
  /// \a ticksBetweenPoints ticks pass between the mouse's moves, as they do
  /// under a person's hand.
  void Stroke(const QPolygonF& scenePoints, int ticksBetweenPoints = 0);
  /// A click on the window pixel \a windowPos, whatever is shown.
  void ClickWindow(QPoint windowPos);
  /// Clicks the menu's visible button whose label begins with \a label (the
  /// resume button names its level); false when there is none.
  bool ClickMenuButton(const QString& label);

  /// Ticks run since the level started.
  int GetTicks() const { return m_ticks; }
  Outcome GetOutcome() const { return m_outcome; }
  /// The level started (the level the outcome is about).
  const QString& GetLevel() const { return m_level; }
  /// The next level named by the finish area reached; empty otherwise.
  const QString& GetNextLevel() const { return m_nextLevel; }
  /// Objects and fixed ladders in the level now.
  int CountObjects() const;
  /// Those of the level started: as the outcome found them, or now.
  int GetFinalObjectCount() const;
  /// The last frame of the level started, seen through the window.
  QImage GetFinalFrame() const;
  /// "outcome WORD level NAME next NAME ticks N objects K", WORD finished,
  /// killed or timeout, "-" standing for no next level.
  QString GetOutcomeLine() const;
  GeneralManager* GetManager() const { return m_manager; }

  /// The frame the window shows now, painted into an image of its size.
  QImage Render() const;

private:
  void restart(const QString& level);
  /// True when the game shows the level Start or StartFromMenu began.
  bool started(QString* error) const;
  /// Records the outcome once; \a nextLevel is empty at the last level.
  void finish(const QString& nextLevel);
  void paintFrame();
  void paint(QImage* image) const;
  void repeatHeldKeys();
  void mouse(QEvent::Type type, QPointF scenePos, Qt::MouseButton button, Qt::MouseButtons buttons,
             Qt::KeyboardModifiers modifiers);
  void deliver(QEvent* event);
  QPoint toWindow(QPointF scenePos) const;

  QWidget* m_window;
  GeneralManager* m_manager;
  QString m_level;
  QString m_nextLevel;
  QString m_levelError;
  Outcome m_outcome = Playing;
  int m_objectsAtOutcome = 0;
  QImage m_frameAtOutcome;
  /// A hidden window's frame, painted anew every tick.
  QImage m_frame;
  bool m_rendering = true;
  int m_ticks = 0;
  int m_repeatElapsedMs = 0;
  Qt::KeyboardModifiers m_heldModifiers = Qt::NoModifier;
};
