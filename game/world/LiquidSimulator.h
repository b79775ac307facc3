#pragma once

#include "world/ContactListener.h"

#include <QList>
#include <QRectF>
#include <QString>

class SoundManager;
class b2Body;
class b2Fixture;
class b2World;

/// One rectangular region of liquid: the bodies touching it float by their
/// density and are braked by drag. Values in metres, kilograms and seconds.
class Liquid
{
public:
  /// The fixture of another body started or stopped touching the region.
  void OnContactBegin(b2Fixture* fixture);
  void OnContactEnd(b2Fixture* fixture);
  /// Adds this tick's buoyancy and drag to the touching bodies.
  void Advance();

  QRectF GetArea() const { return m_area; }
  double GetDensity() const { return m_density; }
  /// Owned through the simulator.
  b2Body* GetBody() const { return m_body; }

private:
  friend class LiquidSimulator;

  /// A body in the liquid and its fixtures touching it, one entry per contact.
  struct ContactGroup
  {
    b2Body* body = nullptr;
    QList<b2Fixture*> fixtures;
  };

  QRectF m_area;
  double m_density = 0;
  b2Body* m_body = nullptr;
  SoundManager* m_soundManager = nullptr;
  int m_splashSound = -1;
  QList<ContactGroup> m_contacts;
};

/// The liquid regions of a world. The scene advances it once per tick, before
/// the world step; the contact listener tells it which fixtures touch which liquid.
class LiquidSimulator final : public LiquidContactHandler
{
public:
  /// \a world is not owned and must outlive the regions' bodies.
  explicit LiquidSimulator(b2World* world);
  /// Deletes the regions but not their bodies, which go with the world.
  ~LiquidSimulator();

  /// Not owned; regions added afterwards splash with it.
  void SetSoundManager(SoundManager* soundManager) { m_soundManager = soundManager; }
  /// \a area in metres; the region's sensor body is created in the world.
  Liquid* AddRegion(const QRectF& area, double density, const QString& splashSoundName);
  void Advance();
  /// Destroys every region and its body.
  void ClearRegions();
  const QList<Liquid*>& GetRegions() const { return m_liquids; }

  void OnLiquidContactBegin(Liquid* liquid, b2Fixture* fixture) override;
  void OnLiquidContactEnd(Liquid* liquid, b2Fixture* fixture) override;

private:
  b2World* m_world;
  QList<Liquid*> m_liquids;
  SoundManager* m_soundManager = nullptr;
};
