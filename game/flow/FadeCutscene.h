#pragma once

#include "flow/CutsceneImpl.h"

#include <QString>
#include <boost/shared_ptr.hpp>

/// Changes made to the scene while a fade cutscene has it hidden.
class ObscuredSceneChanges
{
public:
  virtual ~ObscuredSceneChanges() = default;
  virtual void Run() = 0;
};

/// Darkens the scene, shows a message while changes run behind the black
/// screen, and brightens it again. Made at run time and never stored.
class FadeCutscene : public CutsceneImpl
{
public:
  /// \a changes may be empty; clones share them. \a duration is in seconds.
  FadeCutscene(const QString& message, double duration, boost::shared_ptr<ObscuredSceneChanges> changes,
               const QString& comment);

  Cutscene* Clone() const override;
  void Start(Scene* scene) override;
  void Advance() override;
  /// Writes nothing.
  void Save(QXmlStreamWriter& writer) const override;

private:
  int m_phase = 0;
  double m_darkness = 0;
  double m_initialDarkness = 0;
  boost::shared_ptr<ObscuredSceneChanges> m_sceneChanges;
  QString m_message;
  double m_messageDuration;
  double m_messageTimeLeft = 0;
  QString m_comment;
};
