#pragma once

#include "Decoration.h"

#include <QImage>
#include <QList>
#include <QPair>
#include <QString>

class Level;

/// Paints a level's pictures from its own geometry and its decoration, in the
/// sketchbook look: the background (sky, scenery, liquids, rocks and every ground
/// region, whose top edge is drawn exactly where the physics puts it) and one
/// foreground picture of the whole level (grass and things in front of the
/// figures, transparent elsewhere). Both are the level's size in pixels. The same
/// level and decoration always give the same pictures.
struct LevelPictures
{
  QImage background;
  QImage foreground;
  /// The pictures of the level's interactive things, by file name.
  QList<QPair<QString, QImage>> items;
};

LevelPictures PaintLevel(const Level& level, const QList<DecorationItem>& decoration);
