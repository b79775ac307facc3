#pragma once

#include "common/Direction.h"
#include "shapewise/SpecialObjectsDetection.h"

#include <QList>
#include <QPolygonF>
#include <QString>

class QGraphicsPathItem;

namespace qel
{
class MonochromeImagesDB;
}

/// The road from a finished stroke to what it becomes: a ladder, stairs, an
/// object of the recognition database, or nothing. The game and the tools that
/// build and measure the database all go through it.
class DrawingRecognition
{
public:
  /// A database id split into the object name and the direction in which its
  /// reference drawing points: "sword", "sword2", "sword2_left",
  /// "submachine_gun_right".
  struct ParsedId
  {
    QString name;
    /// Whether the id has a "_direction" suffix; a suffix that names no
    /// direction still counts and reads as Right.
    bool hasDirection = false;
    Direction direction = Right;
  };

  enum class Kind
  {
    Nothing,
    Ladder,
    Stairs,
    Object
  };

  struct Outcome
  {
    Kind kind = Kind::Nothing;
    /// Kind::Object: the database id and its parts.
    QString id;
    ParsedId object;
    /// Kind::Ladder: the strokes of both planks and the cleats.
    QList<QPolygonF> leftPlank;
    QList<QPolygonF> rightPlank;
    shapewise::LadderCleats cleats;
    /// Kind::Stairs: treads and risers from the bottom step up, and the side
    /// to which the stairs rise.
    QList<QPolygonF> treads;
    QList<QPolygonF> risers;
    Direction stairsDirection = Right;
  };

  static ParsedId ParseId(const QString& id);

  /// \a drawing is the finished stroke as the game holds it: its path in item
  /// coordinates, drawn with its pen. Ladders are tried first, then stairs,
  /// then the database with bv::RecognitionTolerance.
  static Outcome Recognize(const QGraphicsPathItem& drawing, const qel::MonochromeImagesDB& database);
};
