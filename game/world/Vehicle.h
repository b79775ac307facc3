#pragma once

#include "world/Object.h"

/// A thing that carries its holder instead of being carried: the figure
/// boarding it is hidden and rides at the bottom of its picture, the player
/// steers it with the arrow keys and its engine sounds while it is boarded.
class Vehicle : public Object
{
  Q_OBJECT

public:
  /// A Helicopter for "helicopter", otherwise a vehicle that does not move by
  /// itself; without parent (the scene owns it once it is added).
  static Vehicle* Create(const QString& name);

  Vehicle(const QString& name, QObject* parent);
  ~Vehicle() override;

  void Advance() override;
  void OnGrab(Stickman* stickman) override;
  void OnRelease() override;
  /// The vehicle is not held in a hand: these do nothing.
  void SetHandPosition(QPointF position) override;
  void SetArmAngle(double angle) override;
  /// Mirrors the vehicle as Object does while nobody rides it; the rider does
  /// not turn it.
  void SetFacingDirection(Direction direction) override;

  using Object::Move;
  /// Pushes the vehicle's body by its impulse for \a direction.
  virtual void Move(Direction direction);

  /// The source of the engine sound; 0 while none plays.
  unsigned GetEngineSound() const { return m_engineSound; }

protected:
  /// Newton seconds, y down.
  virtual QPointF getMoveImpulse(Direction direction) const;
  /// Scene pixels: the bottom centre of the picture, where the rider stands.
  QPointF getRiderPosition() const;

private:
  void placeHolder();
  /// Stops the vehicle at the level's sides and top, which it may not fly past.
  void keepInsideLevel();

  unsigned m_engineSound = 0;
};
