#pragma once

#include "flow/Cutscene.h"

/// What every cutscene kind keeps: the scene it plays in and whether it ended.
class CutsceneImpl : public Cutscene
{
public:
  /// Remembers the scene and clears the finished flag.
  void Start(Scene* scene) override;
  bool IsStarted() const override;
  bool IsFinished() const override;

protected:
  /// Not owned; null until started.
  Scene* m_scene = nullptr;
  bool m_finished = false;
};
