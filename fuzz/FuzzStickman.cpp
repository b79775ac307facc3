// Feeds arbitrary bytes to Stickman::Load as the stickman file. Whatever loads
// must be a figure the game can place, scale and turn into a ragdoll without
// Box2D aborting.

#include "common/Material.h"
#include "stickman/Ragdoll.h"
#include "stickman/Stickman.h"

#include <box2d/b2_world.h>

#include <QApplication>
#include <QFile>
#include <QGraphicsScene>
#include <QLoggingCategory>
#include <QTemporaryDir>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace
{
QTemporaryDir* directory = nullptr;
QGraphicsScene* scene = nullptr;

bool isFinite(const QRectF& rect)
{
  return std::isfinite(rect.x()) && std::isfinite(rect.y()) && std::isfinite(rect.width()) && std::isfinite(rect.height());
}
} // namespace

// Qt's font database, which the graphics items bring in, leaves fontconfig's
// caches allocated at exit; they are not the loader's.
extern "C" const char* __lsan_default_suppressions()
{
  return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
  // Graphics items need an application; no display is used.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  new QApplication(*argc, *argv);
  QLoggingCategory::setFilterRules(QStringLiteral("bv.*=false"));
  directory = new QTemporaryDir;
  scene = new QGraphicsScene;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  const QString path = directory->filePath(QStringLiteral("stickman.xml"));
  {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) != static_cast<qint64>(size))
      std::abort();
  }
  // Before the stickmen, whose bodies it outlives.
  b2World world(b2Vec2(0, 9.8f));
  Stickman stickman(nullptr, scene, nullptr);
  if (!stickman.Load(path))
  {
    if (!stickman.GetJoints().isEmpty() || !stickman.GetDrawingPrimitives().isEmpty())
      std::abort();
    return 0;
  }
  // The scene scales the figure to the stickman's height by its bounding rectangle.
  if (!isFinite(stickman.boundingRect()))
    std::abort();
  // What the game does with a figure: copy it, let it collide, let it die.
  Stickman copy(nullptr, scene, nullptr);
  copy.Load(&stickman);
  copy.StartCollisionsDetection(&world);
  const std::unique_ptr<Ragdoll> ragdoll(copy.CreateRagdoll(Material(), &world));
  for (int step = 0; step < 3; ++step)
  {
    world.Step(0.016f, 8, 3);
    ragdoll->Advance();
  }
  return 0;
}
