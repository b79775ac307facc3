#pragma once

#include "flow/Bubble.h"

#include <QList>

/// A thought bubble: a trail of three growing small ellipses appears first,
/// then the big ellipse with the text.
class ThinkBubble : public Bubble
{
public:
  void Init(const QString& text, Direction direction, QGraphicsScene* scene) override;
  /// Phase 1 is one tick of bv::TickIntervalSec.
  void advance(int phase) override;

protected:
  QPointF getOffsetFromOrigin(Direction direction) const override;
  void joinBalloonToOrigin() override;
  /// Shows the trail ellipse for the time elapsed while the trail appears.
  void showTrailStep();
  void setBubbleVisible(bool visible);

  QList<QGraphicsEllipseItem*> m_smallEllipses;
  /// Seconds.
  double m_elapsed = 0;
  double m_stepDuration = 0;
  double m_appearDuration = 0;

private:
  /// Where the trail leads while the balloon is where Init put it, item pixels.
  QPointF m_trailEnd;
};
