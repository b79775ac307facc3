#pragma once

#include "world/Object.h"

/// A guitar: played through to the end, its tune makes every non-player
/// stickman of the level peaceful.
class MusicalInstrument : public Object
{
  Q_OBJECT

public:
  MusicalInstrument(const QString& name, QObject* parent);

  bool IsPlaying() const { return m_playing; }

  /// Ignored while playing: the instrument stays where the tune began.
  void SetHandPosition(QPointF position) override;
  /// Ignored while playing.
  void SetArmAngle(double angle) override;
  void OnRelease() override;

protected slots:
  void onStickmanAnimationStarted(const QString& animationName, Animation* animation) override;
  void onStickmanAnimationKeyMoment(const QString& animationName, Animation* animation) override;
  void onStickmanAnimationFinished(const QString& animationName, Animation* animation) override;

private:
  bool m_playing = false;
};
