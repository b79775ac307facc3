#pragma once

#include <QList>
#include <QString>

namespace objects
{
/// How a stickman holds an object; the grip is given in fractions of the
/// picture's width (x) and height (y), for the picture pointing its default way.
struct Grip
{
  double x = 0;
  double y = 0;
  /// Between the forearm and the object's axis, degrees: -90 holds the object
  /// square to the figure's hanging forearm, pointing forward and a little up;
  /// -65 keeps an upright object upright there.
  double angleDegrees = -90;
};

/// One description of objects.xml. Sizes in metres beside a 1.8 m figure.
struct Description
{
  QString id;
  QString material;
  double widthM = 0;
  double heightM = 0;
  bool tangible = true;
  bool grabable = false;
  Grip grip;
  /// The direction the reference drawings point in before they are turned.
  QString defaultDirection = "right";
  QString animation;
  QString bounceSound;
  QString specialSound;
  QString engineSound;
  double bounceGain = 1.0;
  /// Metres, as a level's lights; 0 for no light.
  double lightRadius = 0;
};

/// Every object and prop the recognition knows, in file order.
QList<Description> Table();
/// The sound of a bounce that objects without a "sounds" element make.
QString DefaultBounceSound();
/// Writes objects.xml from the table; false when the file cannot be written.
bool Generate(const QString& fileName);
} // namespace objects
