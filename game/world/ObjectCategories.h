#pragma once

#include <QString>

/// The kinds of objects; an object's kind follows from its name alone.
namespace ObjectCategory
{
enum Type : int
{
  ColdWeapon = 0,
  Firearm = 1,
  Gift = 2,
  Food = 3,
  MusicalInstrument = 4,
  Shield = 5,
  Key = 6,
  Sun = 7,
  Parachute = 8,
  Bomb = 9,
  Saw = 10,
  Vehicle = 11,
  Other = 12
};

/// Exact, case-sensitive match of the known names; Other for any other name.
Type FromObjectName(const QString& name);
/// True for ColdWeapon and Firearm.
bool IsWeapon(Type type);
} // namespace ObjectCategory
