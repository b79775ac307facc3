#pragma once

#include "SketchFile.h"

namespace qel
{
class MonochromeImagesDB;
}

/// Renders each reference as the game renders a finished drawing (drawing pen,
/// PathItemToImage at scale 1) and appends its signature under the reference's
/// word. False, naming the reference, when one has no signature; the database
/// then holds the references before it.
bool AddReferences(const QList<Sketch>& references, qel::MonochromeImagesDB& database, QString& error);
