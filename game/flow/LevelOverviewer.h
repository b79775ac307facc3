#pragma once

#include <QObject>

class Scene;
class View;

/// The camera tour at the start of a level: the whole level is shown for
/// about 1.5 s, then the camera glides to the player's view, at most 10 pixels
/// of translation and 0.01 of scale per tick.
class LevelOverviewer : public QObject
{
  Q_OBJECT

public:
  LevelOverviewer();

  /// Neither is owned; call before Start.
  void Init(View* view, Scene* scene);
  /// Call with the player's view shown; the tour ends on it.
  void Start();
  /// Ends the tour where it is and emits Finished.
  void Stop();
  void Pause();
  void Resume();
  /// Puts the tour's current transform on the view.
  void UpdateViewTransform();

  bool IsRunning() const { return m_running; }
  /// Ticks of the glide after the hold; 0 when the overview is the player's view.
  int GetStepCount() const { return m_stepCount; }

  /// The hold before the glide.
  static constexpr double HoldSec = 1.5;

public slots:
  /// One game tick.
  void Advance();

signals:
  void Finished();

private:
  /// Translation and scale of a view transform without rotation or shear.
  struct Placement
  {
    double dx = 0;
    double dy = 0;
    double sx = 1;
    double sy = 1;
  };

  View* m_view = nullptr;
  Scene* m_scene = nullptr;
  bool m_running = false;
  bool m_paused = false;
  Placement m_delta;
  Placement m_start;
  Placement m_current;
  int m_step = 0;
  int m_stepCount = 0;
  double m_waitedSec = 0;
};
