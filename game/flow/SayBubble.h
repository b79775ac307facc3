#pragma once

#include "flow/Bubble.h"

class QGraphicsPathItem;

/// A speech bubble: the ellipse with a pointed tail down to the speaker's mouth.
class SayBubble : public Bubble
{
public:
  void Init(const QString& text, Direction direction, QGraphicsScene* scene) override;

protected:
  QPointF getOffsetFromOrigin(Direction direction) const override;
  void joinBalloonToOrigin() override;

private:
  QGraphicsPathItem* m_tail = nullptr;
};
