#pragma once

#include "common/Material.h"

#include <QMap>
#include <QString>
#include <QStringList>

/// The table of named physical materials (materials.xml) that ground, doors,
/// liquids, objects and ragdolls take their friction, restitution and density from.
class Materials
{
public:
  /// Adds the file's materials to the table and replaces the default material.
  /// False, with the reason logged, when the file is missing, is not XML or has
  /// no valid "default-material"; the table is then left as it was. A "material"
  /// without "id" or without three valid numbers is skipped.
  bool Load(const QString& path);

  /// Exact, case-sensitive match; the default material for an unknown name.
  Material Get(const QString& name) const;
  /// The material of stickman ragdolls, named "body".
  Material GetBodyMaterial() const;
  /// The names in the table, sorted.
  QStringList GetNames() const;

  void Add(const QString& name, const Material& material);
  void SetDefaultMaterial(const Material& material);
  /// Empties the table; the default material stays.
  void Clear();

private:
  QMap<QString, Material> m_materials;
  Material m_defaultMaterial;
};
