// Feeds arbitrary bytes to ObjectCreator::loadObjectDescriptions as
// objects.xml. Every description read must hold finite numbers, and the first
// few become objects on a running scene: drawn, shrunk to their size, held
// and used by the player, dropped, and left to fall.

#include "FuzzScene.h"

#include "world/Object.h"

#include <QPainterPath>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace
{
FuzzScene* fuzzScene = nullptr;

// Enough to see what the descriptions do to objects, few enough to keep
// thousands of inputs a minute.
constexpr int ObjectsPerInput = 2;
constexpr int TicksToFall = 40;
constexpr int TicksHeld = 10;

bool isFinite(double value, double minimum = -HUGE_VAL)
{
  return std::isfinite(value) && value >= minimum;
}

bool isSound(int type)
{
  return type >= -1;
}

bool isSound(const ObjectSoundsInfo& sounds)
{
  return isSound(sounds.bounceSound) && isSound(sounds.specialSound) && isSound(sounds.engineSound) &&
         isFinite(sounds.bounceGain, 0);
}

void checkDescription(const ObjectCreator::ObjectInfo& info)
{
  const Material& material = info.material;
  const HoldingPointLocation& holding = info.grabable.holdingPoint;
  if (!isFinite(material.friction, 0) || !isFinite(material.restitution, 0) || !isFinite(material.density, 0) ||
      !isFinite(info.maximumSize.width()) || !isFinite(info.maximumSize.height()) || !isFinite(holding.x) ||
      !isFinite(holding.y) || !isFinite(info.grabable.angle) || !isSound(info.sounds) ||
      !isFinite(info.lightSource.radius, 0))
    std::abort();
}

/// A drawing of a few strokes, about 300 by 200 pixels: no ladder, no stairs.
QPainterPath drawing()
{
  QPainterPath path;
  path.moveTo(-150, 0);
  path.lineTo(150, 10);
  path.lineTo(120, -90);
  path.moveTo(-100, 20);
  path.lineTo(-60, 100);
  path.lineTo(30, 60);
  return path;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
  StartHeadlessApplication(argc, argv);
  fuzzScene = new FuzzScene;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  const QString path = fuzzScene->WriteInput(QStringLiteral("objects.xml"), data, size);
  ObjectCreator& creator = fuzzScene->GetCreator();
  if (!creator.loadObjectDescriptions(path, &fuzzScene->GetMaterials(), &fuzzScene->GetSounds()))
  {
    if (!creator.GetObjectDescriptions().isEmpty())
      std::abort();
    return 0;
  }
  checkDescription(creator.getObjectInfo(QStringLiteral("no such object")));
  for (const ObjectCreator::ObjectInfo& info : creator.GetObjectDescriptions())
    checkDescription(info);

  fuzzScene->Reset();
  Scene& scene = fuzzScene->GetScene();
  Stickman* player = scene.GetPlayer();
  const QString snapshot = fuzzScene->FilePath(QStringLiteral("object.obj"));
  int made = 0;
  for (auto it = creator.GetObjectDescriptions().begin();
       it != creator.GetObjectDescriptions().end() && made < ObjectsPerInput; ++it, ++made)
  {
    creator.SaveObject(snapshot, drawing(), it.key());
    Object* object = creator.LoadObject(snapshot, player->pos() + QPointF(150 * made, -200));
    // Names longer than a saved object may hold are refused.
    if (!object)
      continue;
    if (!scene.GetObjects().contains(object))
      std::abort();
    // As a level hands the player the object it starts with.
    object->ShrinkToMaximumSize();
    if (Grabable* grabable = object->GetGrabable(); grabable && !player->GetGrabbedItem())
    {
      player->GrabItem(grabable);
      player->Use();
      fuzzScene->Tick(TicksHeld);
      player->DropItem();
    }
  }
  fuzzScene->Tick(TicksToFall);
  fuzzScene->CheckObjects();
  return 0;
}
