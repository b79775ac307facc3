#include "FuzzScene.h"

#include "world/Object.h"

#include <QApplication>
#include <QFile>
#include <QGraphicsItem>
#include <QLoggingCategory>

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

// Qt's font database, which the graphics items bring in, leaves fontconfig's
// caches allocated at exit; they are not the loader's.
extern "C" const char* __lsan_default_suppressions()
{
  return "leak:libfontconfig.so\n";
}

void StartHeadlessApplication(int* argc, char*** argv)
{
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("ALSOFT_DRIVERS", "null");
  new QApplication(*argc, *argv);
  QLoggingCategory::setFilterRules(QStringLiteral("bv.*=false"));
}

QString FuzzScene::WriteInput(const QString& name, const std::uint8_t* data, std::size_t size) const
{
  const QString path = FilePath(name);
  QFile file(path);
  require(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
          file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) == static_cast<qint64>(size));
  return path;
}

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

void FuzzScene::Build(const Level& level)
{
  m_ticked = true;
  m_scene->Init(level, &m_materials, nullptr, &m_stickman);
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
