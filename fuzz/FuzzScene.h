#pragma once

#include "stickman/Stickman.h"
#include "world/Level.h"
#include "world/Materials.h"
#include "world/ObjectCreator.h"
#include "world/Scene.h"

#include "audio/SoundManager.h"

#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <memory>

/// Starts the application a scene needs, headless and with the game's logs
/// quiet; it is left to the end of the process, as Qt's own statics expect.
void StartHeadlessApplication(int* argc, char*** argv);

/// One running scene per fuzzing process: flat ground, the player on it, the
/// game's materials, stickman and object descriptions, and an object creator
/// bound to the scene. Sounds resolve to types but nothing plays. Build it in
/// LLVMFuzzerInitialize, after the application exists.
class FuzzScene
{
public:
  FuzzScene();

  /// Clears every object and builds the level again, as loading a level does,
  /// when the scene ticked since it was last built: building the player is
  /// most of the time an input takes.
  void Reset();
  /// Builds \a level instead, which must outlive the scene's use of it; the
  /// next Reset builds the flat level again.
  void Build(const Level& level);
  /// Advances the scene by \a ticks ticks of 16 ms.
  void Tick(int ticks);
  /// Aborts the process when an object of the scene sits anywhere but at a
  /// finite position: what a body that went wrong in Box2D leaves behind.
  void CheckObjects() const;
  /// A file of the scratch directory, for the bytes under test.
  QString FilePath(const QString& name) const { return m_directory.filePath(name); }
  /// Writes the bytes under test to the scratch file \a name; returns its path.
  QString WriteInput(const QString& name, const std::uint8_t* data, std::size_t size) const;

  Scene& GetScene() { return *m_scene; }
  ObjectCreator& GetCreator() { return m_creator; }
  const Materials& GetMaterials() const { return m_materials; }
  const Sound::NameTypeConverter& GetSounds() const { return m_sounds; }

private:
  /// The bounce and swing sounds of objects.xml, by position.
  class SoundNames : public Sound::NameTypeConverter
  {
  public:
    Sound::Type Name2Type(const QString& name) const override { return m_names.indexOf(name); }
    QString Type2Name(Sound::Type type) const override { return m_names.value(type); }

  private:
    QStringList m_names{"bounce", "bounce_wood", "bounce_metal", "swing", "heavy_swing"};
  };

  QTemporaryDir m_directory;
  Materials m_materials;
  SoundNames m_sounds;
  Stickman m_stickman{nullptr, nullptr, nullptr};
  Level m_level{QSizeF(0, 0)};
  std::unique_ptr<Scene> m_scene;
  ObjectCreator m_creator;
  bool m_ticked = true;
};
