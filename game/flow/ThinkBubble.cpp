#include "flow/ThinkBubble.h"

#include "common/GlobalConstants.h"

#include <QBrush>
#include <QGraphicsEllipseItem>
#include <QGraphicsTextItem>

void ThinkBubble::Init(const QString& text, Direction direction, QGraphicsScene* scene)
{
  Bubble::Init(text, direction, scene);
  setBubbleVisible(false);
  const double h = m_ellipse->boundingRect().height();
  m_trailEnd = getOffsetFromOrigin(direction);
  for (int i = 0; i < 3; ++i)
  {
    const double d = (h / 10.0) * (i + 1);
    const double w = (i + 1) * (h / 10.0) * 1.5;
    auto* ellipse = new QGraphicsEllipseItem(-w / 2, -d / 2, w, d);
    ellipse->setPos(i * m_trailEnd / 5.0);
    ellipse->setBrush(QBrush(Qt::white));
    ellipse->hide();
    addToGroup(ellipse);
    ellipse->stackBefore(m_ellipse);
    m_smallEllipses.append(ellipse);
  }
  m_elapsed = 0;
  m_appearDuration = bv::BubbleAppearIntervalSec;
  m_stepDuration = m_appearDuration / 3.0;
}

void ThinkBubble::advance(int phase)
{
  if (!phase)
    return;
  m_elapsed += bv::TickIntervalSec;
  if (m_elapsed < m_appearDuration)
    showTrailStep();
  else
    setBubbleVisible(true);
}

// The trail goes from the speaker's head to where the balloon went.
void ThinkBubble::joinBalloonToOrigin()
{
  for (int i = 0; i < m_smallEllipses.size(); ++i)
    m_smallEllipses[i]->setPos(i * (m_trailEnd + m_balloonShift) / 5.0);
}

QPointF ThinkBubble::getOffsetFromOrigin(Direction direction) const
{
  return direction == Left ? QPointF(20, -100) : QPointF(-20, -100);
}

void ThinkBubble::showTrailStep()
{
  const int index = int(m_elapsed / m_stepDuration);
  if (index >= 0 && index < m_smallEllipses.size())
    m_smallEllipses[index]->show();
}

void ThinkBubble::setBubbleVisible(bool visible)
{
  m_text->setVisible(visible);
  m_ellipse->setVisible(visible);
}
