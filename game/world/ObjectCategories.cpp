#include "world/ObjectCategories.h"

#include <QMap>
#include <QSet>

namespace ObjectCategory
{
namespace
{
const QMap<Type, QSet<QString>>& objectNamesByCategory()
{
  static const QMap<Type, QSet<QString>> names{
    {ColdWeapon, {"spear", "axe", "pollaxe", "sabre", "sword"}},
    {Firearm, {"submachine_gun", "assault_rifle", "pistol"}},
    {Gift, {"teddybear", "flower"}},
    {Food, {"mushroom", "meat", "ham", "apple"}},
    {MusicalInstrument, {"guitar"}},
    {Shield, {"shield"}},
    {Key, {"key"}},
    {Sun, {"sun"}},
    {Parachute, {"parachute"}},
    {Bomb, {"bomb"}},
    {Saw, {"saw"}},
    {Vehicle, {"helicopter"}},
  };
  return names;
}
} // namespace

Type FromObjectName(const QString& name)
{
  const QMap<Type, QSet<QString>>& names = objectNamesByCategory();
  for (auto it = names.cbegin(); it != names.cend(); ++it)
  {
    if (it.value().contains(name))
      return it.key();
  }
  return Other;
}

bool IsWeapon(Type type)
{
  return type == ColdWeapon || type == Firearm;
}
} // namespace ObjectCategory
