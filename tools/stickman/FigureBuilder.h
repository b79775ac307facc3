#pragma once

#include "Figure.h"

#include <QPointF>
#include <QString>

class Stickman;

namespace figure
{
/// Where the joints of a pose lie.
struct Skeleton
{
  QPointF head;
  QPointF shoulders;
  QPointF pelvis;
  QPointF leftElbow;
  QPointF leftHand;
  QPointF rightElbow;
  QPointF rightHand;
  QPointF leftKnee;
  QPointF leftFoot;
  QPointF rightKnee;
  QPointF rightFoot;
};

Skeleton Solve(const Body& body, const Pose& pose);

/// The postures of a motion, frame by frame: each channel of the key poses
/// (positions, bone angles or reached points) follows a monotone cubic curve,
/// so the figure moves smoothly, never overshoots a key and keeps planted
/// feet still.
QList<Skeleton> Interpolate(const Description& description, const Motion& motion);

/// Builds the described figure into an empty stickman through its editing API.
/// Returns false (with a message on stderr) when the description is inconsistent.
bool Build(const Description& description, Stickman& stickman);

/// The height of the standing figure the game will see.
double StandingHeight(const Description& description);

/// Writes the game's figure, its body adjusted so that the standing figure is
/// exactly bv::StickmanHeightPx tall (the game then draws it unscaled, so its
/// offsets are scene pixels).
bool Generate(const QString& fileName);
} // namespace figure
