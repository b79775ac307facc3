#pragma once

#include "SketchFile.h"

#include <QList>
#include <QStringList>

/// The reference drawings of the recognition database, made by the generators
/// of Drawings.h: the same list on every run. Each word is a database id: the
/// object name, a number, and for pointing objects "_" and the direction the
/// drawing points in ("sword3_up", "key2_left").
QList<Sketch> GenerateReferences();

/// The names of the objects the game turns drawings into (props excluded).
QStringList GameplayObjectNames();
