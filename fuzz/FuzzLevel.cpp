// Feeds arbitrary bytes to Level::Load as a level file, in a level directory
// that holds the pictures such a file names, so that every reading path runs.
// Whatever loads must be something the scene can build without Box2D aborting:
// the scene builds it (doors and all) and plays it for a second.

#include "FuzzScene.h"

#include "world/Level.h"

#include <QFile>
#include <QImage>
#include <QLineF>
#include <QTemporaryDir>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace
{
constexpr int TicksPerLevel = 60;

QTemporaryDir* directory = nullptr;
Level* level = nullptr;
FuzzScene* scene = nullptr;
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
  // The music path comes from the application's directory.
  StartHeadlessApplication(argc, argv);
  scene = new FuzzScene;
  directory = new QTemporaryDir;
  for (const char* name : {"sky.png", "bush.png", "tree.png", "door-open.png", "door-closed.png"})
  {
    QImage image(3, 2, QImage::Format_ARGB32);
    image.fill(Qt::darkGreen);
    image.save(directory->filePath(QString::fromLatin1(name)));
  }
  level = new Level(QSizeF(1, 1));
  return 0;
}

namespace
{
// Box2D's linear slop: chain vertices closer than this abort it.
constexpr double MinVertexSpacingM = 0.005;

bool isFinite(const QRectF& rect)
{
  return std::isfinite(rect.x()) && std::isfinite(rect.y()) && std::isfinite(rect.width()) && std::isfinite(rect.height());
}

void checkBuildable(const Level& loaded)
{
  for (const Level::StaticObject& object : loaded.GetStaticObjects())
  {
    const QPolygonF& polygon = object.polygon;
    if (polygon.size() < 3)
      std::abort();
    for (int i = 0; i < polygon.size(); ++i)
      if (!(QLineF(polygon[i], polygon[(i + 1) % polygon.size()]).length() >= MinVertexSpacingM))
        std::abort();
  }
  for (const Level::LiquidRegion& liquid : loaded.GetLiquidRegions())
    if (!isFinite(liquid.area) || !(liquid.area.width() >= 0.01 && liquid.area.height() >= 0.01))
      std::abort();
  for (const Level::GroundRegion& ground : loaded.GetGroundRegions())
    if (!isFinite(ground.area) || !(ground.area.width() > 0 && ground.area.height() > 0))
      std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  const QString path = directory->filePath(QStringLiteral("level.xml"));
  QFile::remove(path);
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    std::abort();
  file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
  file.close();
  // One record loaded again and again, as the game does; a failed load must
  // leave it whole.
  const QSizeF levelSize = level->GetSize();
  if (!level->Load(path))
  {
    if (level->GetSize() != levelSize)
      std::abort();
    return 0;
  }
  checkBuildable(*level);
  scene->Build(*level);
  scene->Tick(TicksPerLevel);
  scene->CheckObjects();
  return 0;
}
