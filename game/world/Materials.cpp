#include "world/Materials.h"

#include "common/XmlUtils.h"

#include <QLoggingCategory>
#include <tinyxml.h>

namespace
{
Q_LOGGING_CATEGORY(lcMaterials, "bv.world")

const char* const BodyMaterialName = "body";

// Material::Load takes any finite number; a negative friction, restitution or
// density, or one that single precision (Box2D) cannot hold, would still
// poison the physics world.
constexpr double MaxValue = 1e6;

bool loadMaterial(const TiXmlElement* element, Material& material, QString& problem)
{
  for (const char* name : {"friction", "restitution", "density"})
  {
    const char* text = element->Attribute(name);
    double value = 0;
    if (!text)
      problem = QString("no \"%1\"").arg(name);
    else if (!xml::ParseNumber(text, value) || value < 0 || value > MaxValue)
      problem = QString("\"%1\" is \"%2\", not a number from 0 to %3").arg(name, QString::fromUtf8(text)).arg(MaxValue);
    else
      continue;
    return false;
  }
  return material.Load(element);
}
} // namespace

bool Materials::Load(const QString& path)
{
  auto warn = [&path](int line, const QString& problem) {
    const QString place = line > 0 ? QString("%1:%2").arg(path).arg(line) : path;
    qCWarning(lcMaterials).noquote() << place + ": " + problem;
  };
  TiXmlDocument document;
  QString problem;
  if (!xml::LoadDocument(path, document, problem))
  {
    warn(document.Error() ? document.ErrorRow() : 0, "cannot load the materials file: " + problem);
    return false;
  }
  const TiXmlElement* root = document.FirstChildElement("materials");
  if (!root)
  {
    warn(0, "no \"materials\" element");
    return false;
  }
  const TiXmlElement* defaultElement = root->FirstChildElement("default-material");
  if (!defaultElement)
  {
    warn(root->Row(), "no \"default-material\" element");
    return false;
  }
  Material defaultMaterial;
  if (!loadMaterial(defaultElement, defaultMaterial, problem))
  {
    warn(defaultElement->Row(), "invalid default material: " + problem);
    return false;
  }
  m_defaultMaterial = defaultMaterial;

  for (const TiXmlElement* element = root->FirstChildElement("material"); element;
       element = element->NextSiblingElement("material"))
  {
    const QString name = xml::LoadString(element, "id");
    Material material;
    if (name.isEmpty())
      problem = "no \"id\"";
    else if (loadMaterial(element, material, problem))
    {
      m_materials.insert(name, material);
      continue;
    }
    warn(element->Row(), "material skipped: " + problem);
  }
  return true;
}

Material Materials::Get(const QString& name) const { return m_materials.value(name, m_defaultMaterial); }

Material Materials::GetBodyMaterial() const { return Get(BodyMaterialName); }

QStringList Materials::GetNames() const { return m_materials.keys(); }

void Materials::Add(const QString& name, const Material& material) { m_materials.insert(name, material); }

void Materials::SetDefaultMaterial(const Material& material) { m_defaultMaterial = material; }

void Materials::Clear() { m_materials.clear(); }
