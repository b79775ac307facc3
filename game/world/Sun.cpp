#include "world/Sun.h"

#include "world/Scene.h"

Sun::Sun(const QString& name, QObject* parent)
  : Object(name, ObjectCategory::Sun, parent)
{
}

void Sun::Init(Scene* scene, QGraphicsItem* item, FixtureCreator* fixtureCreator, const Material& material,
               const GrabableInfo& grabable, const UsableInfo& usable, const QSizeF& maximumSize,
               const ObjectSoundsInfo& sounds, const LightSourceInfo& lightSource, bool simulatePhysics)
{
  Object::Init(scene, item, fixtureCreator, material, grabable, usable, maximumSize, sounds, lightSource,
               simulatePhysics);
  if (scene)
    scene->RemoveDarkness();
}
