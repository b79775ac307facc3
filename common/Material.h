#pragma once

struct b2FixtureDef;
class TiXmlElement;

/// Surface and mass properties of a fixture.
struct Material
{
  double friction = 0;
  double restitution = 0;
  double density = 1.0;

  /// Reads "friction", "restitution", "density" in that order and stops at the
  /// first one that is missing or not a finite number; true only when all three
  /// were read.
  bool Load(const TiXmlElement* element);
  void ApplyTo(b2FixtureDef& fixtureDef) const;
};
