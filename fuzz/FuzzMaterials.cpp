// Feeds arbitrary bytes to Materials::Load as materials.xml. Whatever loads
// must be materials a Box2D fixture can take: finite, not negative.

#include "world/Materials.h"

#include <QCoreApplication>
#include <QFile>
#include <QLoggingCategory>
#include <QTemporaryDir>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace
{
QTemporaryDir* directory = nullptr;

bool isPhysical(const Material& material)
{
  for (const double value : {material.friction, material.restitution, material.density})
    if (!std::isfinite(value) || value < 0 || !std::isfinite(static_cast<float>(value)))
      return false;
  return true;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
  new QCoreApplication(*argc, *argv);
  QLoggingCategory::setFilterRules(QStringLiteral("bv.*=false"));
  directory = new QTemporaryDir;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  const QString path = directory->filePath(QStringLiteral("materials.xml"));
  {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) != static_cast<qint64>(size))
      std::abort();
  }
  Materials materials;
  const Material before;
  if (!materials.Load(path))
  {
    // A refused file leaves the table as it was: empty, with the default default.
    const Material after = materials.Get(QString());
    if (!materials.GetNames().isEmpty() || after.friction != before.friction ||
        after.restitution != before.restitution || after.density != before.density)
      std::abort();
    return 0;
  }
  if (!isPhysical(materials.Get(QString())))
    std::abort();
  for (const QString& name : materials.GetNames())
    if (name.isEmpty() || !isPhysical(materials.Get(name)))
      std::abort();
  return 0;
}
