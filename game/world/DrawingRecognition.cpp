#include "world/DrawingRecognition.h"

#include "common/GlobalConstants.h"
#include "common/ImageOperations.h"
#include "qel/MonochromeImagesDB.h"

#include <QGraphicsPathItem>

DrawingRecognition::ParsedId DrawingRecognition::ParseId(const QString& id)
{
  ParsedId parsed;
  const int underscore = id.lastIndexOf('_');
  QString base = id.left(underscore < 0 ? id.size() : underscore);
  // Digits number the references of one object; a leading digit belongs to the name.
  for (int i = 1; i < base.size(); ++i)
  {
    if (base[i].isDigit() && !base[i - 1].isDigit())
    {
      base.truncate(i);
      break;
    }
  }
  parsed.name = base;
  if (underscore >= 1)
  {
    parsed.hasDirection = true;
    parsed.direction = String2Direction(id.mid(underscore + 1), Right);
  }
  return parsed;
}

DrawingRecognition::Outcome DrawingRecognition::Recognize(const QGraphicsPathItem& drawing,
                                                          const qel::MonochromeImagesDB& database)
{
  Outcome outcome;
  const QPainterPath path = drawing.path();
  if (path.isEmpty())
    return outcome;

  if (shapewise::DetectLadder(path, outcome.leftPlank, outcome.rightPlank, outcome.cleats))
  {
    outcome.kind = Kind::Ladder;
    return outcome;
  }
  outcome.leftPlank.clear();
  outcome.rightPlank.clear();
  outcome.cleats.clear();

  if (shapewise::DetectStairs(path, outcome.treads, outcome.risers, outcome.stairsDirection))
  {
    outcome.kind = Kind::Stairs;
    return outcome;
  }
  outcome.treads.clear();
  outcome.risers.clear();
  outcome.stairsDirection = Right;

  const QString id = database.ClassifyImage(PathItemToImage(&drawing, 1.0), bv::RecognitionTolerance);
  if (id.isEmpty())
    return outcome;
  outcome.kind = Kind::Object;
  outcome.id = id;
  outcome.object = ParseId(id);
  return outcome;
}
