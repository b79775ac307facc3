#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

/// The game's tick, started and stopped like a QTimer: tick() every 16 ms of
/// wall-clock time. When the event loop was held up (a frame that took long),
/// the next timer event gives every tick that is due, so game time keeps pace
/// with the clock whatever the frames cost; a repaint follows the whole burst.
class GameClock : public QObject
{
  Q_OBJECT

public:
  /// At most this many ticks in one timer event: after a long stall the game
  /// goes on from where it was instead of racing through the lost time.
  static constexpr int MaxTicksPerEvent = 5;

  explicit GameClock(QObject* parent = nullptr);

  /// Starts counting ticks from now; a tick in progress gives no more ticks.
  void start();
  void stop();
  bool isActive() const { return m_timer.isActive(); }
  /// The timer never fires: the caller ticks by hand (headless tools and
  /// tests, whose replays stay tick-exact). isActive goes on telling whether
  /// the game ticks.
  void SetManual();

signals:
  void tick();

private:
  void onTimeout();

  QTimer m_timer;
  QElapsedTimer m_clock;
  qint64 m_ticksGiven = 0;
  /// Changes at every start and stop, which end a burst of ticks.
  unsigned m_run = 0;
};
