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

private:
  QList<Cue> m_cues;
};
