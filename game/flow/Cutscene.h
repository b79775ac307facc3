#pragma once

class QXmlStreamWriter;
class Scene;
class TiXmlElement;

/// A scripted sequence that the scene plays instead of the game. The cutscenes
/// of a level are templates: the scene plays a Clone() of one, which starts on
/// the scene's next tick and advances once per tick until it is finished.
class Cutscene
{
public:
  virtual ~Cutscene() = default;

  /// A new cutscene, not started, owned by the caller.
  virtual Cutscene* Clone() const = 0;
  /// \a scene is not owned and must outlive the playing.
  virtual void Start(Scene* scene) = 0;
  virtual void Advance() = 0;
  virtual void SkipCue() {}
  virtual bool IsStarted() const = 0;
  virtual bool IsFinished() const = 0;
  /// Writes the content of the "cutscene" element that the caller has opened.
  virtual void Save(QXmlStreamWriter& writer) const = 0;

  /// The cutscene a "cutscene" element describes, owned by the caller; null
  /// (with a debug line) for an unknown "special" kind.
  static Cutscene* Load(const TiXmlElement* element);
};
