#include "ReferenceDatabase.h"

#include "InputProtocol.h"

#include "common/ImageOperations.h"
#include "qel/MonochromeImageInfo.h"
#include "qel/MonochromeImageInfoExtractor.h"
#include "qel/MonochromeImagesDB.h"

#include <QGraphicsPathItem>

bool AddReferences(const QList<Sketch>& references, qel::MonochromeImagesDB& database, QString& error)
{
  for (const Sketch& reference : references)
  {
    const auto drawing = MakeDrawing(reference.strokes);
    qel::MonochromeImageInfo* signature = qel::CalculateMonochromeImageInfo(PathItemToImage(drawing.get(), 1.0));
    if (!signature)
    {
      error = reference.word + ": the drawing has no signature";
      return false;
    }
    signature->SetId(reference.word);
    database.Append(signature);
  }
  return true;
}
