#include "FuzzScene.h"

#include "world/Object.h"

#include <QFile>
#include <QGraphicsItem>

#include <cmath>
#include <cstdlib>

namespace
{
// Flat ground 6 m down, the player standing on it 3 m in.
constexpr char LevelXml[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<level title="Fuzz">
  <geometry width="30" height="10"/>
  <foreground/>
  <start x="3" y="6"/>
  <ground><region x="0" y="6" width="30" height="1"/></ground>
</level>
)";

void require(bool condition)
{
  if (!condition)
    std::abort();
}
} // namespace

FuzzScene::FuzzScene()
  : m_scene(std::make_unique<Scene>(nullptr))
{
  require(m_directory.isValid());
  require(m_materials.Load(BV_DATA_DIR "/materials.xml"));
  require(m_stickman.Load(BV_DATA_DIR "/stickman.xml"));
  const QString levelPath = FilePath(QStringLiteral("level.xml"));
  QFile level(levelPath);
  require(level.open(QIODevice::WriteOnly) && level.write(LevelXml) == qint64(sizeof LevelXml - 1));
  level.close();
  require(m_level.Load(levelPath));
  Reset();
  // The game's data directory is not beside a fuzz target: the descriptions
  // come from the source tree, and no drawing is recognised.
  m_creator.Init(m_scene.get(), &m_materials, &m_sounds);
  require(m_creator.loadObjectDescriptions(BV_DATA_DIR "/objects.xml", &m_materials, &m_sounds));
}

void FuzzScene::Reset()
{
  if (!m_ticked)
    return;
  m_ticked = false;
  m_scene->Init(m_level, &m_materials, nullptr, &m_stickman);
  require(m_scene->GetPlayer() != nullptr);
}

void FuzzScene::Tick(int ticks)
{
  m_ticked = true;
  for (int i = 0; i < ticks; ++i)
    m_scene->advance();
}

void FuzzScene::CheckObjects() const
{
  for (const Object* object : m_scene->GetObjects())
  {
    const QPointF pos = object->GetItem()->scenePos();
    require(std::isfinite(pos.x()) && std::isfinite(pos.y()) && std::isfinite(object->GetItem()->rotation()));
  }
}
