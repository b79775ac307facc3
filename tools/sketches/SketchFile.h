#pragma once

#include <QList>
#include <QPolygonF>
#include <QString>

/// One drawing in the stroke format of the shared sketches: a word (for
/// references, the database id) and the strokes in drawing order, y pointing down.
struct Sketch
{
  QString word;
  QList<QPolygonF> strokes;
};

/// Reads newline-delimited JSON, one drawing per line: {"word": ..., "drawing":
/// [[[x0, x1, ...], [y0, y1, ...]], ...]}. False, with the file name and line in
/// \a error, when the file cannot be read or a line is malformed.
bool ReadSketches(const QString& fileName, QList<Sketch>& sketches, QString& error);
bool ParseSketches(const QByteArray& text, QList<Sketch>& sketches, QString& error);

/// The same format with coordinates rounded to whole pixels.
QByteArray FormatSketches(const QList<Sketch>& sketches);
bool WriteSketches(const QString& fileName, const QList<Sketch>& sketches, QString& error);
