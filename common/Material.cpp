#include "common/Material.h"

#include <box2d/b2_fixture.h>
#include <tinyxml.h>

bool Material::Load(const TiXmlElement* element)
{
  return element->Attribute("friction", &friction) && element->Attribute("restitution", &restitution) &&
         element->Attribute("density", &density);
}

void Material::ApplyTo(b2FixtureDef& fixtureDef) const
{
  fixtureDef.friction = static_cast<float>(friction);
  fixtureDef.restitution = static_cast<float>(restitution);
  fixtureDef.density = static_cast<float>(density);
}
