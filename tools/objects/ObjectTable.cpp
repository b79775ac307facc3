#include "ObjectTable.h"

#include <QFile>
#include <QXmlStreamWriter>

namespace objects
{
namespace
{
// A thing of the world: it falls and bounces, nobody carries it.
Description thing(const char* id, const char* material, double widthM, double heightM, const char* bounce)
{
  Description d;
  d.id = id;
  d.material = material;
  d.widthM = widthM;
  d.heightM = heightM;
  d.bounceSound = bounce;
  return d;
}

// A thing a stickman can pick up and carry in its hand.
Description held(const char* id, const char* material, double widthM, double heightM, const char* bounce, Grip grip)
{
  Description d = thing(id, material, widthM, heightM, bounce);
  d.grabable = true;
  d.grip = grip;
  return d;
}

Description used(Description d, const char* animation, const char* special = "")
{
  d.animation = animation;
  d.specialSound = special;
  return d;
}

Description light(Description d, double radiusM)
{
  d.lightRadius = radiusM;
  return d;
}

Description intangible(Description d)
{
  d.tangible = false;
  return d;
}

QString number(double value)
{
  return QString::number(value, 'g', 6);
}
} // namespace

QString DefaultBounceSound()
{
  return "bounce";
}

QList<Description> Table()
{
  // Pointing things are described as drawn pointing right: grip towards the
  // left end, business end to the right. Upright things are held at the top
  // or by their middle. A size of 0 leaves that dimension free.
  return {
    // Cold weapons: swung.
    used(held("spear", "wood", 1.8, 0, "bounce_wood", {0.35, 0.5, -90}), "swing", "swing"),
    used(held("axe", "wood", 0.8, 0, "bounce_wood", {0.12, 0.75, -90}), "swing", "heavy_swing"),
    used(held("pollaxe", "wood", 1.6, 0, "bounce_wood", {0.3, 0.55, -90}), "swing", "heavy_swing"),
    used(held("sabre", "metal", 0.9, 0, "bounce_metal", {0.08, 0.5, -90}), "swing", "swing"),
    used(held("sword", "metal", 0.9, 0, "bounce_metal", {0.08, 0.5, -90}), "swing", "swing"),
    // Firearms: held level by the grip under the body.
    used(held("submachine_gun", "metal", 0.6, 0, "bounce_metal", {0.3, 0.75, 0}), "shoot", "rifle_shot"),
    used(held("assault_rifle", "metal", 0.95, 0, "bounce_metal", {0.35, 0.7, 0}), "shoot", "rifle_shot"),
    used(held("pistol", "metal", 0.4, 0, "bounce_metal", {0.2, 0.8, -90}), "shoot", "pistol_shot"),
    // Gifts.
    held("teddybear", "cloth", 0, 0.5, "bounce_soft", {0.5, 0.15, -65}),
    held("flower", "food", 0, 0.5, "bounce_soft", {0.5, 0.9, -65}),
    // Food: eaten.
    used(held("mushroom", "food", 0, 0.35, "bounce_soft", {0.5, 0.85, -65}), "eat", "eating"),
    used(held("meat", "food", 0.4, 0, "bounce_soft", {0.5, 0.5, -90}), "eat", "eating"),
    used(held("ham", "food", 0.5, 0, "bounce_soft", {0.85, 0.5, -90}), "eat", "eating"),
    used(held("apple", "food", 0.3, 0, "bounce_soft", {0.5, 0.5, -65}), "eat", "eating"),
    used(held("guitar", "wood", 1.0, 0, "bounce_wood", {0.75, 0.5, -90}), "play", "guitar"),
    held("shield", "wood", 0, 0.7, "bounce_wood", {0.3, 0.9, -80}),
    used(held("key", "metal", 0.35, 0, "bounce_metal", {0.15, 0.5, -90}), "unlock"),
    // The sun rises into the sky and lights the level; nobody holds it.
    intangible(light(thing("sun", "wood", 1.0, 0, "bounce_soft"), 7)),
    held("parachute", "cloth", 1.4, 0, "bounce_soft", {0.5, 1, 90}),
    [] {
      // Carried and thrown, never used; the special sound is its bang.
      Description d = held("bomb", "metal", 0.4, 0, "bounce_metal", {0.5, 0.3, -90});
      d.specialSound = "explosion";
      return d;
    }(),
    used(held("saw", "metal", 0.7, 0, "bounce_metal", {0.1, 0.5, -90}), "saw"),
    [] {
      // Boarded rather than carried: the figure rides at the bottom of the picture.
      Description d = held("helicopter", "aluminium", 3.0, 0, "bounce_metal", {0.5, 1, 0});
      d.specialSound = "helicopter_stop";
      d.engineSound = "helicopter_engine";
      return d;
    }(),

    // Props: things the player may draw that have no use of their own.
    held("box", "wood", 0.5, 0, "bounce_wood", {0.5, 0.2, -90}),
    held("ball", "rubber", 0.4, 0, "bounce_soft", {0.5, 0.2, -90}),
    held("plank", "wood", 1.5, 0, "bounce_wood", {0.3, 0.5, -90}),
    held("rock", "stone", 0.45, 0, "bounce", {0.5, 0.2, -90}),
    held("wheel", "rubber", 0.6, 0, "bounce_soft", {0.5, 0.1, -90}),
    thing("house", "wood", 2.5, 0, "bounce_wood"),
    thing("tree", "wood", 0, 3.0, "bounce_wood"),
    thing("car", "metal", 2.5, 0, "bounce_metal"),
    held("fish", "flesh", 0.5, 0, "bounce_soft", {0.15, 0.5, -90}),
    held("star", "wood", 0.4, 0, "bounce_wood", {0.5, 0.5, -90}),
    held("heart", "cloth", 0.35, 0, "bounce_soft", {0.5, 0.3, -90}),
    // Clouds float where they are drawn.
    intangible(thing("cloud", "cloth", 1.5, 0, "bounce_soft")),
    held("face", "paper", 0.4, 0, "bounce_soft", {0.5, 0.9, -90}),
    held("bird", "flesh", 0.4, 0, "bounce_soft", {0.5, 0.8, -90}),
    thing("boat", "wood", 2.0, 0, "bounce_wood"),
    held("cup", "glass", 0.25, 0, "bounce", {0.5, 0.5, -65}),
    held("screen", "plastic", 0.6, 0, "bounce", {0.5, 0.95, -90}),
    held("glass", "glass", 0, 0.3, "bounce", {0.5, 0.6, -65}),
    held("octopus", "flesh", 0.6, 0, "bounce_soft", {0.5, 0.2, -90}),
    held("ear", "flesh", 0.25, 0, "bounce_soft", {0.5, 0.5, -90}),
    held("bottle", "glass", 0, 0.4, "bounce", {0.5, 0.2, -65}),
    held("cat", "flesh", 0.6, 0, "bounce_soft", {0.5, 0.3, -90}),
    held("snake", "flesh", 1.0, 0, "bounce_soft", {0.2, 0.5, -90}),
    held("airplane", "plastic", 0.7, 0, "bounce", {0.5, 0.5, -90}),
    held("clock", "wood", 0.4, 0, "bounce_wood", {0.5, 0.1, -90}),
    held("chair", "wood", 0, 0.9, "bounce_wood", {0.2, 0.6, -90}),
    light(held("lamp", "metal", 0, 0.6, "bounce_metal", {0.5, 0.1, -65}), 2.5),
    held("hat", "cloth", 0.4, 0, "bounce_soft", {0.5, 0.2, -90}),
    held("shirt", "cloth", 0.6, 0, "bounce_soft", {0.5, 0.1, -90}),
    held("glasses", "plastic", 0.3, 0, "bounce", {0.5, 0.5, -90}),
    held("phone", "plastic", 0.25, 0, "bounce", {0.5, 0.5, -65}),
    held("book", "paper", 0.35, 0, "bounce_soft", {0.5, 0.5, -90}),
    thing("bed", "wood", 2.0, 0, "bounce_wood"),
    thing("bicycle", "metal", 1.7, 0, "bounce_metal"),
    held("envelope", "paper", 0.35, 0, "bounce_soft", {0.5, 0.5, -90}),
    thing("mountain", "stone", 3.0, 0, "bounce"),
    held("waves", "wood", 1.2, 0, "bounce_wood", {0.5, 0.5, -90}),
    held("spiral", "wood", 0.5, 0, "bounce_wood", {0.5, 0.5, -90}),
    thing("truck", "metal", 3.0, 0, "bounce_metal"),
    thing("bus", "metal", 4.0, 0, "bounce_metal"),
    thing("train", "metal", 4.0, 0, "bounce_metal"),
    held("animal", "flesh", 0.8, 0, "bounce_soft", {0.5, 0.3, -90}),
    held("duck", "flesh", 0.45, 0, "bounce_soft", {0.5, 0.4, -90}),
    held("flute", "wood", 0.6, 0, "bounce_wood", {0.3, 0.5, -90}),
    held("boomerang", "wood", 0.6, 0, "bounce_wood", {0.5, 0.5, -90}),
    thing("windmill", "wood", 0, 3.0, "bounce_wood"),

    // Ladders and stairs are recognised by their shape; these give them their stuff.
    thing("ladder", "wood", 0, 0, "bounce_wood"),
    thing("stairs", "wood", 0, 0, "bounce_wood"),
  };
}

bool Generate(const QString& fileName)
{
  QFile file(fileName);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
    return false;
  QXmlStreamWriter writer(&file);
  writer.setAutoFormatting(true);
  writer.setAutoFormattingIndent(2);
  writer.writeStartDocument();
  writer.writeComment(" Generated by brisvel-objects generate from tools/objects/ObjectTable.cpp: edit that. ");
  writer.writeStartElement("objects");
  writer.writeAttribute("default-bounce-sound", DefaultBounceSound());
  for (const Description& d : Table())
  {
    writer.writeStartElement("object");
    writer.writeAttribute("id", d.id);
    writer.writeAttribute("material", d.material);
    if (!d.tangible)
      writer.writeAttribute("tangible", "false");
    if (d.widthM > 0 || d.heightM > 0)
    {
      writer.writeStartElement("maximum-size");
      if (d.widthM > 0)
        writer.writeAttribute("width", number(d.widthM));
      if (d.heightM > 0)
        writer.writeAttribute("height", number(d.heightM));
      writer.writeEndElement();
    }
    if (d.grabable)
    {
      writer.writeStartElement("grabable");
      writer.writeAttribute("x", number(d.grip.x));
      writer.writeAttribute("y", number(d.grip.y));
      writer.writeAttribute("angle", number(d.grip.angleDegrees));
      writer.writeAttribute("x-measurement-unit", "width");
      writer.writeAttribute("y-measurement-unit", "height");
      writer.writeAttribute("default-direction", d.defaultDirection);
      writer.writeEndElement();
    }
    if (!d.animation.isEmpty())
    {
      writer.writeStartElement("usable");
      writer.writeAttribute("animation", d.animation);
      writer.writeEndElement();
    }
    writer.writeStartElement("sounds");
    writer.writeAttribute("bounce", d.bounceSound);
    if (!d.specialSound.isEmpty())
      writer.writeAttribute("special", d.specialSound);
    if (!d.engineSound.isEmpty())
      writer.writeAttribute("engine", d.engineSound);
    writer.writeAttribute("bounce-gain", number(d.bounceGain));
    writer.writeEndElement();
    if (d.lightRadius > 0)
    {
      writer.writeStartElement("light-source");
      writer.writeAttribute("radius", number(d.lightRadius));
      writer.writeEndElement();
    }
    writer.writeEndElement();
  }
  writer.writeEndElement();
  writer.writeEndDocument();
  return file.error() == QFile::NoError;
}
} // namespace objects
