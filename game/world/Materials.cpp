#include "world/Materials.h"

#include "common/XmlUtils.h"

#include <QFile>
#include <QLoggingCategory>
#include <tinyxml.h>

#include <cmath>

namespace
{
Q_LOGGING_CATEGORY(lcMaterials, "bv.world")

const char* const BodyMaterialName = "body";

// Material::Load reads numbers leniently ("abc" becomes 0, "nan" passes); a
// friction, restitution or density that is not a finite, non-negative number
// would poison the physics world, so each one is checked first.
bool hasValidNumbers(const TiXmlElement* element, QString& problem)
{
  for (const char* name : {"friction", "restitution", "density"})
  {
    const char* text = element->Attribute(name);
    if (!text)
    {
      problem = QString("no \"%1\"").arg(name);
      return false;
    }
    bool ok = false;
    const double value = QString::fromUtf8(text).trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value) || value < 0)
    {
      problem = QString("\"%1\" is \"%2\", not a number of 0 or more").arg(name, QString::fromUtf8(text));
      return false;
    }
  }
  return true;
}

bool loadMaterial(const TiXmlElement* element, Material& material, QString& problem)
{
  return hasValidNumbers(element, problem) && material.Load(element);
}
} // namespace

bool Materials::Load(const QString& path)
{
  auto warn = [&path](int line, const QString& problem) {
    const QString place = line > 0 ? QString("%1:%2").arg(path).arg(line) : path;
    qCWarning(lcMaterials).noquote() << place + ": " + problem;
  };
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
  {
    warn(0, "cannot read the materials file: " + file.errorString());
    return false;
  }
  // Read here rather than by TinyXML, which trusts the size the file reports.
  const QByteArray text = file.readAll();

  TiXmlDocument document;
  document.Parse(text.constData(), nullptr, TIXML_ENCODING_UTF8);
  if (document.Error())
  {
    warn(document.ErrorRow(), QString("not XML: ") + document.ErrorDesc());
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
  QString problem;
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
