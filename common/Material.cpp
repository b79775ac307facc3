#include "common/Material.h"

#include "common/XmlUtils.h"

#include <box2d/b2_fixture.h>

bool Material::Load(const TiXmlElement* element)
{
  return xml::LoadNumber(element, "friction", friction) && xml::LoadNumber(element, "restitution", restitution) &&
         xml::LoadNumber(element, "density", density);
}

void Material::ApplyTo(b2FixtureDef& fixtureDef) const
{
  fixtureDef.friction = static_cast<float>(friction);
  fixtureDef.restitution = static_cast<float>(restitution);
  fixtureDef.density = static_cast<float>(density);
}
