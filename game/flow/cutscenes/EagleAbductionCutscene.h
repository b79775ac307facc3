#pragma once

#include "flow/CutsceneImpl.h"

#include <QImage>

/// An eagle swoops down, grabs the player by the neck and carries it away.
class EagleAbductionCutscene : public CutsceneImpl
{
public:
  /// A null \a eagleImage is loaded from the data directory when the cutscene starts.
  explicit EagleAbductionCutscene(const QImage& eagleImage);

  Cutscene* Clone() const override;
  void Start(Scene* scene) override;
  void Advance() override;
  /// Writes the attribute "special".
  void Save(QXmlStreamWriter& writer) const override;

private:
  QImage m_eagleImage;
};
