#pragma once

#include "SceneTestSupport.h"

#include "world/ObjectCreator.h"

#include <QPainterPath>
#include <QTemporaryDir>

class ComputerControlledStickman;
class Object;

/// A scene built from a level written by the test, whose objects are made as
/// the game makes a level's: from a picture and the game's own description of
/// their name (objects.xml beside the test program).
class CombatFixture : public SceneFixture
{
public:
  void Build(const QByteArray& levelXml);

  /// An object \a sizePx long (0: a size that fits its description) with the
  /// centre of its picture at \a pos, scene pixels; it falls from there.
  Object* Add(const QString& name, QPointF pos, double sizePx = 0);
  /// An object of that name in \a stickman's hand.
  Object* Give(Stickman* stickman, const QString& name, double sizePx = 0);
  /// The non-player stickman of that name; null when none.
  ComputerControlledStickman* Npc(const QString& name);
  /// Ticks until \a stickman stands idle (at most \a limit ticks); false when it never did.
  bool TickUntilIdle(const Stickman* stickman, int limit = 200);

  ObjectCreator creator;

private:
  QTemporaryDir m_objectFiles;
};

/// A picture of the kind of object \a name names, centred on its origin, its
/// longer side \a sizePx.
QPainterPath ObjectPicture(const QString& name, double sizePx);
