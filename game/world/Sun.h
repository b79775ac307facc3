#pragma once

#include "world/Object.h"

/// Drawn into a dark level, it ends the darkness for the rest of the level.
class Sun : public Object
{
  Q_OBJECT

public:
  Sun(const QString& name, QObject* parent);

  void Init(Scene* scene, QGraphicsItem* item, FixtureCreator* fixtureCreator, const Material& material,
            const GrabableInfo& grabable, const UsableInfo& usable, const QSizeF& maximumSize,
            const ObjectSoundsInfo& sounds, const LightSourceInfo& lightSource, bool simulatePhysics) override;
};
