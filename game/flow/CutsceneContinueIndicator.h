#pragma once

#include <QString>

class Bubble;
class QGraphicsPixmapItem;
class QGraphicsScene;

/// The blinking "press to continue" sign beside a cutscene's bubble: two
/// pictures that alternate every blinkIntervalMs once a delay has passed.
class CutsceneContinueIndicator
{
public:
  static const QString baseFilename;
  static constexpr int blinkIntervalMs = 600;

  /// The two frame items go to \a scene, which owns them.
  explicit CutsceneContinueIndicator(QGraphicsScene* scene);
  CutsceneContinueIndicator(const CutsceneContinueIndicator&) = delete;
  CutsceneContinueIndicator& operator=(const CutsceneContinueIndicator&) = delete;

  /// Perched on the upper corner of \a bubble on its speaker's side, clear of
  /// the text and of the tail, appearing after \a seconds.
  void ShowWithDelay(double seconds, const Bubble& bubble);
  /// Follows \a bubble where it has moved.
  void Place(const Bubble& bubble);
  void Hide();
  /// One tick.
  void Advance();

  bool IsShown() const { return m_shown; }
  /// 0 or 1 for the frame on screen, -1 while none is.
  int GetVisibleFrame() const;

private:
  QGraphicsPixmapItem* m_frames[2] = {nullptr, nullptr};
  bool m_shown = false;
  int m_delayLeftMs = 0;
  int m_blinkLeftMs = 0;
  int m_currentFrame = 0;
};
