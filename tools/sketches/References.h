#pragma once

#include "SketchFile.h"

#include <QList>
#include <QStringList>

/// The seed of the shipped references.
constexpr quint64 ReferenceSeed = 20240611;

/// The reference drawings of the recognition database, made by the generators
/// of Drawings.h: the same list for the same seed. Each word is a database id:
/// the object name, a number, and for pointing objects "_" and the direction the
/// drawing points in ("sword3_up", "key2_left"). Other seeds tell how much of a
/// measured figure is luck.
QList<Sketch> GenerateReferences(quint64 seed = ReferenceSeed);

/// The names of the objects the game turns drawings into (props excluded).
QStringList GameplayObjectNames();
