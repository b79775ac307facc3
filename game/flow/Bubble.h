#pragma once

#include "common/Direction.h"

#include <QGraphicsItemGroup>
#include <QPointF>
#include <QRectF>
#include <QString>

class QGraphicsEllipseItem;
class QGraphicsScene;
class QGraphicsTextItem;

/// A comic bubble over a stickman's head: rich text on a white ellipse. The
/// owner constructs it, calls Init and then places it at the speaker's bubble
/// origin (the top centre of the speaker); the children go with the group.
class Bubble : public QGraphicsItemGroup
{
public:
  static const QPointF shadowOffset;

  /// \a direction is the speaker's facing direction; adds the bubble to \a scene.
  virtual void Init(const QString& text, Direction direction, QGraphicsScene* scene);
  /// The white ellipse in scene pixels; the tail or the trail of a thought
  /// leaves it below its middle, towards the bubble's origin.
  QRectF GetBalloonRect() const;
  /// Puts the bubble's origin at \a origin (scene pixels, the speaker's bubble
  /// origin) and moves the balloon as little as needed to lie whole inside
  /// \a visible (scene pixels), shadow included; the tail or the trail still
  /// leads to the origin. An empty \a visible leaves the balloon where Init put it.
  void Place(const QPointF& origin, const QRectF& visible);

  /// The ellipse through the four corners of \a r, 4/3 as wide.
  static QRectF calculateEllipseOuterRect(const QRectF& r);

protected:
  /// Where the text sits relative to the bubble's origin.
  virtual QPointF getOffsetFromOrigin(Direction direction) const = 0;
  /// Joins the balloon to the origin again after it moved.
  virtual void joinBalloonToOrigin() = 0;

  QGraphicsTextItem* m_text = nullptr;
  QGraphicsEllipseItem* m_ellipse = nullptr;
  /// How far Place moved the balloon from where Init put it, item pixels.
  QPointF m_balloonShift;
};
