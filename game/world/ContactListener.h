#pragma once

#include <box2d/b2_world_callbacks.h>

class Liquid;
class b2Body;
class b2Fixture;

/// Receives the fixtures of dynamic bodies that enter and leave a liquid; the
/// liquid simulation implements it.
class LiquidContactHandler
{
public:
  virtual void OnLiquidContactBegin(Liquid* liquid, b2Fixture* fixture) = 0;
  virtual void OnLiquidContactEnd(Liquid* liquid, b2Fixture* fixture) = 0;

protected:
  ~LiquidContactHandler() = default;
};

/// Turns the world's contacts into game events: objects entering and leaving
/// liquids, bullets hitting stickmen and doors, bounce sounds. Runs inside the
/// world step, so it only notifies: nothing is created or destroyed here.
class ContactListener : public b2ContactListener
{
public:
  ~ContactListener() override;

  /// Not owned; null while the world has no liquid simulation.
  void SetLiquidContactHandler(LiquidContactHandler* handler) { m_liquids = handler; }

  void BeginContact(b2Contact* contact) override;
  void EndContact(b2Contact* contact) override;
  void PreSolve(b2Contact* contact, const b2Manifold* oldManifold) override;
  void PostSolve(b2Contact* contact, const b2ContactImpulse* impulse) override;

private:
  /// \a pointM is the contact point in metres.
  void processBulletHit(b2Body* bullet, b2Body* other, const b2Vec2& pointM);

  LiquidContactHandler* m_liquids = nullptr;
};
