#pragma once

#include "world/ComputerControlledStickman.h"
#include "world/ObjectCategories.h"

#include <QList>

class Object;

/// A hostile stickman ("enemy" in a level file). Whenever it stands idle it
/// picks up the most useful object around it, turns to the player and attacks
/// with the weapon it holds. A peaceful enemy throws its weapon away and
/// prefers gifts.
class EnemyStickman : public ComputerControlledStickman
{
  Q_OBJECT

public:
  /// Answers whether \a a is more useful than \a b to its enemy.
  class ObjectUsefulnessComparer
  {
  public:
    explicit ObjectUsefulnessComparer(const EnemyStickman* enemy)
      : m_enemy(enemy)
    {
    }

    bool operator()(const Object* a, const Object* b) const;

  private:
    const EnemyStickman* m_enemy;
  };

  explicit EnemyStickman(Scene* scene);

  void SetPeaceful(bool peaceful) override;
  bool IsPeaceful() const { return m_peaceful; }
  void GrabItem(Grabable* item) override;
  /// Scene pixels from the hand; 0 without a cold weapon.
  double GetColdWeaponReach() const { return m_coldWeaponReach; }

  virtual int getObjectUsefulnessRating(ObjectCategory::Type type) const;

  /// The larger side of the object's picture as shown, scene pixels.
  static double GetColdWeaponLength(const Object* object);

protected:
  void makeDecisions(Scene* scene) override;

private:
  /// The object held, null when nothing or something that is not an object.
  Object* heldObject() const;
  bool isPlayerPeaceful() const;
  /// The most useful grabbable object of \a objects that beats the one held;
  /// null when none does.
  Object* findMoreUsefulObject(QList<Object*> objects) const;
  void stepTowardsObject(const Object* object);
  /// True when it did something about the player.
  bool counteractPlayer(Stickman* player, Scene* scene);
  double getDistanceToPlayer() const;

  double m_coldWeaponReach = 0;
  ObjectUsefulnessComparer m_usefulnessComparer{this};
  bool m_peaceful = false;
};
