#pragma once

#include "world/ObjectCreator.h"

#include <QPainterPath>
#include <QStringList>

/// References are drawn as large as people draw on the screen; the game
/// shrinks them to their maximum size as it does a player's drawing.
constexpr double DrawnSizePx = 200;

/// The first reference drawing of the object \a name, turned to the object's
/// own pose and centred on the origin, its larger side \a size pixels long;
/// empty when no reference draws it.
QPainterPath ReferencePath(const QString& name, const ObjectCreator::ObjectInfo& info, double size);

/// Writes OUTDIR/<name>.obj for each of \a names: the object drawn as its first
/// reference, the file a level names for what a stickman holds at the start.
/// False, told on stderr, when the objects file does not load, a name has no
/// description or reference, or a file cannot be written.
bool WriteHeldObjects(const QString& objectsFile, const QString& outputDir, const QStringList& names);
