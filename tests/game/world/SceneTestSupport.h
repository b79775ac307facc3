#pragma once

#include "LevelTestSupport.h"
#include "audio/SoundManager.h"
#include "stickman/Stickman.h"
#include "world/Level.h"
#include "world/Materials.h"
#include "world/Scene.h"

#include <QByteArray>
#include <QPointF>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class Bubble;
class QGraphicsScene;

/// A scene built from a level written by the test, with the game's own
/// stickman figure and materials and a sound manager whose sounds are silent
/// WAV files named "steps", "grass", "page_turn" and, for the objects that
/// fight, play and fly, "swing", "heavy_swing", "pistol_shot", "bounce_metal",
/// "guitar", "helicopter_engine" and "helicopter_stop", for the doors
/// "door_open", "door_hit" and "door_smash", "eating", "explosion", and for water
/// and trees "splash", "axe_versus_tree" and "saw_versus_tree".
class SceneFixture
{
public:
  SceneFixture();
  ~SceneFixture();

  /// Loads \a levelXml (a whole level file) and builds the scene from it.
  void Build(const QByteArray& levelXml);
  /// Writes a file beside the level file (pictures the level names).
  QString WriteLevelFile(const QString& name, const QByteArray& content) { return m_levelDirectory.Write(name, content); }
  /// Writes \a picture as a PNG file beside the level file; false when it cannot be encoded.
  bool WriteLevelPicture(const QString& name, const QImage& picture);
  /// One game tick.
  void Tick(int count = 1);

  Scene& scene() { return *m_scene; }
  Stickman* player() const { return m_scene->GetPlayer(); }
  Level& level() { return m_level; }
  SoundManager& sounds() { return m_sounds; }

  /// Sources of the sound manager playing at \a posPx (scene pixels).
  static int SourcesPlayingAt(const QPointF& posPx);
  /// Sources of the sound manager playing anywhere.
  static int SourcesPlaying();
  /// Stops every sound playing, so that a test counts only the ones it starts next.
  static void SilenceSounds();

private:
  QTemporaryDir m_soundsDirectory;
  LevelDirectory m_levelDirectory;
  SoundManager m_sounds;
  Materials m_materials;
  std::unique_ptr<Stickman> m_template;
  Level m_level{QSizeF(0, 0)};
  std::unique_ptr<Scene> m_scene;
};

/// The plain text of a bubble.
QString BubbleText(const Bubble* bubble);
/// What the player thinks now about a drawing or the game (a comment bubble);
/// empty when it thinks nothing.
QString ShownComment(const QGraphicsScene& scene);

/// A level of \a width x \a height metres whose "level" element holds \a body.
QByteArray SceneLevel(const QByteArray& body, double width = 30, double height = 10);
