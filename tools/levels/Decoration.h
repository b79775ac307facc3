#pragma once

#include <QList>
#include <QString>
#include <QStringList>

/// The scenery of one level that its geometry does not give: one item per line,
/// a keyword then numbers in metres (x to the right, y down, like the level
/// file), for example "tree 21.5 9.0 3.2" or "sign 30.2 9.0 To the cliffs".
/// "#" starts a comment. Keywords and their numbers:
///   horizon Y                  the far edge of land and sea; sky above it
///   sea X1 X2                  open sea between X1 and X2, below the horizon
///   hills X1 X2 AMPLITUDE      far hills on the horizon
///   sun X Y RADIUS             cloud X Y WIDTH         bird X Y
///   tree X Y HEIGHT            palm X Y HEIGHT         bush X Y WIDTH
///   rock X Y WIDTH HEIGHT      (a boulder in the background, no obstacle)
///   shells X1 X2 Y             flowers X1 X2 Y         fence X1 X2 Y
///   sign X Y TEXT...           a signpost standing at X, Y with its words
///   title X Y SIZE TEXT...     large hand-lettered words centred on X, Y, their
///                              letters SIZE tall (in the sky, on a page's end)
///   front-grass X1 X2 Y        tall grass in front of the figure
///   mill X Y HEIGHT            a water mill standing at X, Y, its wheel on the left
///   cut-tree HEIGHT FILE       a picture of its own, FILE beside the level's: a
///                              tree that the level makes an interactive item
///   raft WIDTH HEIGHT FILE     a picture of its own: a raft of logs
struct DecorationItem
{
  QString kind;
  QList<double> numbers;
  QString text;
  int line = 0;
};

/// Reads a decoration source; false with "FILE:LINE: why" in \a error when a
/// line has an unknown keyword or the wrong count of numbers.
bool LoadDecoration(const QString& path, QList<DecorationItem>& items, QString& error);
