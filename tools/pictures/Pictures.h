#pragma once

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

struct Sketch;

/// The game's pictures beside its levels, all in the sketchbook look. Each
/// function paints the same picture every time.
namespace pictures
{
/// One row of the help screen's key table: the keys (Qt key codes) and what they do.
struct KeyRow
{
  QList<int> keys;
  /// The caps shown; "+ ..." is written beside the caps rather than on one.
  QStringList caps;
  QString action;
};
/// Every key the game answers to while playing, as the help screen shows them.
QList<KeyRow> HelpKeys();

/// The main menu's background, 1920 × 1080, with the title; the middle of the
/// lower half stays quiet for the menu's buttons.
QImage MenuBackground();
/// The how-to-play screen, 1920 × 1080: the keys, and how to draw every object
/// in \a references (the first drawing of each gameplay object pointing right or
/// nowhere) plus a ladder and stairs.
QImage HelpScreen(const QList<Sketch>& references, const QStringList& objectNames);
/// The pencil cursor shown while drawing, 48 × 48, its tip at (0, 0).
QImage DrawingCursor();
/// The two frames of the blinking "press Space to continue" sign (1 and 2).
QImage ContinueIndicator(int frame);
/// The eagle that carries the player off, 360 × 240, flying right, its talons
/// at 0.64 of the width and 0.86 of the height.
QImage Eagle();
/// The program's icon, \a sizePx square.
QImage Icon(int sizePx);
} // namespace pictures
