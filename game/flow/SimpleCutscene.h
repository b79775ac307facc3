#pragma once

#include "flow/Cue.h"
#include "flow/CutsceneImpl.h"

#include <QList>

/// A conversation: cues shown one after another.
class SimpleCutscene : public CutsceneImpl
{
public:
  explicit SimpleCutscene(const QList<Cue>& cues);

  Cutscene* Clone() const override;
  void Start(Scene* scene) override;
  void Advance() override;
  void SkipCue() override;
  /// One "cue" child per cue.
  void Save(QXmlStreamWriter& writer) const override;

  const QList<Cue>& GetCues() const { return m_cues; }

  int GetCurrentCue() const { return m_current; }

private:
  void showCue(int index);

  QList<Cue> m_cues;
  int m_current = 0;
  /// Seconds the current cue still waits; it waits while above 0.
  double m_remaining = 0;
};
