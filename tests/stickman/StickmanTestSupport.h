#pragma once

#include "stickman/Grabable.h"
#include "stickman/JumpManager.h"
#include "stickman/MoveConstraints.h"
#include "stickman/Usable.h"

#include <QPointF>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class QGraphicsScene;
class Stickman;

namespace stickmantest
{
/// Writes \a text to a new file in \a dir and returns its path.
QString WriteFile(const QTemporaryDir& dir, const QString& name, const QString& text);

/// A small figure: a head circle and ten limbs on the usual joint names, the
/// four special postures, "step" (30 frames, offset 40), "jump" (10 frames,
/// key frame 4, offset (20, -30)), "land", "falling_down", "climbup",
/// "climbdown" and "swing" in both variants, and "sword_swing-*".
/// Saved and loaded back, so it went through the loader's initialisation.
std::unique_ptr<Stickman> MakeFigure(QGraphicsScene* scene = nullptr, MoveConstraints* constraints = nullptr);

/// Builds the same figure through the editing API without loading it.
void BuildFigure(Stickman& stickman);

class FakeItem : public Grabable, public Usable
{
public:
  explicit FakeItem(const QString& name, bool usable = true)
    : m_name(name)
    , m_usable(usable)
  {
  }

  QString GetName() const override { return m_name; }
  void OnGrab(Stickman* stickman) override { holder = stickman; ++grabs; }
  void OnRelease() override { holder = nullptr; ++releases; }
  void SetHandPosition(QPointF position) override { hand = position; }
  void SetArmAngle(double angle) override { armAngle = angle; }
  void SetFacingDirection(Direction direction) override { facing = direction; }
  Usable* GetUsable() override { return m_usable ? this : nullptr; }
  void Use(Stickman* stickman) override { usedBy = stickman; }

  Stickman* holder = nullptr;
  Stickman* usedBy = nullptr;
  int grabs = 0;
  int releases = 0;
  QPointF hand;
  double armAngle = 0;
  Direction facing = Up;

private:
  QString m_name;
  bool m_usable;
};

class FakeJumpManager : public JumpManager
{
public:
  explicit FakeJumpManager(bool* destroyed = nullptr)
    : m_destroyed(destroyed)
  {
  }
  ~FakeJumpManager() override
  {
    if (m_destroyed)
      *m_destroyed = true;
  }

  void StartFallingDown(double speed, const QString& name) override
  {
    falling = true;
    horizontalSpeed = speed;
    itemName = name;
  }
  void FinishFallingDown() override { falling = false; }
  bool IsFallingDown() const override { return falling; }
  void Advance(bool& finished) override
  {
    ++advances;
    finished = finishNextAdvance;
    finishNextAdvance = false;
  }

  bool falling = false;
  double horizontalSpeed = -1;
  QString itemName;
  int advances = 0;
  bool finishNextAdvance = false;

private:
  bool* m_destroyed;
};

class FakeConstraints : public MoveConstraints
{
public:
  bool CanStickmanStep(const Stickman*, double distance, QPointF& offset) const override
  {
    stepDistances.append(distance);
    offset = correction;
    return allowStep;
  }
  bool CanStickmanJump(const Stickman*, double width, double height) const override
  {
    jumpSizes.append(QPointF(width, height));
    return allowJump;
  }

  bool allowStep = true;
  bool allowJump = true;
  QPointF correction;
  mutable QList<double> stepDistances;
  mutable QList<QPointF> jumpSizes;
};
} // namespace stickmantest
