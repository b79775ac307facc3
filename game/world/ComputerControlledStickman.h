#pragma once

#include "stickman/Stickman.h"

#include <QString>

class Scene;

/// A stickman the player does not control ("friend" in a level file). It takes
/// no decisions of its own; enemies derive from it and decide between animations.
class ComputerControlledStickman : public Stickman
{
  Q_OBJECT

public:
  /// In \a scene's graphics, with the scene's stickman rules; not owned.
  explicit ComputerControlledStickman(Scene* scene);

  void SetName(const QString& name) { m_name = name; }
  const QString& GetName() const { return m_name; }
  void SetVipStatus(bool vip) { m_vip = vip; }
  bool IsVip() const { return m_vip; }

  virtual void SetPeaceful(bool peaceful);

  /// Decides when idle, at most once per tick.
  void advance(int phase) override;

protected:
  virtual void makeDecisions(Scene* scene);

  Scene* m_scene;

private:
  QString m_name;
  bool m_vip = false;
};
