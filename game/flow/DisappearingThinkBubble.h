#pragma once

#include "flow/ThinkBubble.h"

/// A thought bubble that goes by itself: full for bv::BubbleTextDelaySec,
/// then its trail vanishes from the largest ellipse down.
class DisappearingThinkBubble : public ThinkBubble
{
public:
  void Init(const QString& text, Direction direction, QGraphicsScene* scene) override;
  void advance(int phase) override;

private:
  /// Seconds since Init.
  double m_textEnd = 0;
  double m_disappearEnd = 0;
};
