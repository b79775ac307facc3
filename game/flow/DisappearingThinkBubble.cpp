#include "flow/DisappearingThinkBubble.h"

#include "common/GlobalConstants.h"

#include <QGraphicsEllipseItem>

void DisappearingThinkBubble::Init(const QString& text, Direction direction, QGraphicsScene* scene)
{
  ThinkBubble::Init(text, direction, scene);
  m_textEnd = m_appearDuration + bv::BubbleTextDelaySec;
  m_disappearEnd = m_textEnd + bv::BubbleAppearIntervalSec;
}

void DisappearingThinkBubble::advance(int phase)
{
  if (!phase)
    return;
  m_elapsed += bv::TickIntervalSec;
  if (m_elapsed < m_appearDuration)
    showTrailStep();
  else if (m_elapsed < m_textEnd)
    setBubbleVisible(true);
  else if (m_elapsed >= m_disappearEnd)
    hide();
  else
  {
    setBubbleVisible(false);
    const int n = m_smallEllipses.size();
    const int k = int((n + 1) - (m_elapsed - m_textEnd) / m_stepDuration);
    if (k >= 0 && k < n)
      m_smallEllipses[k]->hide();
  }
}
