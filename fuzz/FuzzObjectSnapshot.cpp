// Feeds arbitrary bytes to ObjectCreator::LoadObject as a saved ".obj" object,
// on a running scene, and hands what loads to the player as a level does with
// the object it starts with; the scene then plays on for a while. Whatever
// loads must be an object of the scene that Box2D can build and simulate.

#include "FuzzScene.h"

#include "world/Object.h"

#include <QGraphicsItem>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace
{
FuzzScene* fuzzScene = nullptr;

// Held for a while, then dropped and left to fall.
constexpr int TicksHeld = 10;
constexpr int TicksToFall = 30;
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
  StartHeadlessApplication(argc, argv);
  fuzzScene = new FuzzScene;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  const QString path = fuzzScene->WriteInput(QStringLiteral("object.obj"), data, size);
  fuzzScene->Reset();
  Scene& scene = fuzzScene->GetScene();
  Stickman* player = scene.GetPlayer();
  const int itemsBefore = scene.items().size();
  Object* object = fuzzScene->GetCreator().LoadObject(path, player->pos() + QPointF(0, -300));
  // A refused file leaves the scene as it was, ready for the next input; a
  // ladder fixed on the ground gives no object but stands in the scene.
  if (!object && scene.items().size() == itemsBefore)
    return 0;
  if (object)
  {
    // The scene's to show, simulate and delete.
    if (!scene.GetObjects().contains(object) || object->GetItem()->scene() != &scene)
      std::abort();
    object->ShrinkToMaximumSize();
    if (Grabable* grabable = object->GetGrabable())
    {
      player->GrabItem(grabable);
      player->Use();
      fuzzScene->Tick(TicksHeld);
      fuzzScene->CheckObjects();
      player->DropItem();
    }
  }
  fuzzScene->Tick(TicksToFall);
  fuzzScene->CheckObjects();
  return 0;
}
