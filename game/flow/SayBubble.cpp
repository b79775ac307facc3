#include "flow/SayBubble.h"

#include <QBrush>
#include <QGraphicsEllipseItem>
#include <QGraphicsPathItem>
#include <QGraphicsTextItem>
#include <QPainterPath>

#include <cmath>

namespace
{
// The tail leaves the ellipse between these angles (radians, counter-clockwise
// from the right, y up), on the side that faces the speaker.
constexpr double LeftTailStart = -1.3089969389957472;
constexpr double LeftTailEnd = -1.0471975511965976;
constexpr double RightTailStart = 3.9269908169872414;
constexpr double RightTailEnd = 4.1887902047863905;

QPointF pointOnEllipse(const QRectF& e, double angle)
{
  return QPointF(e.x() + e.width() / 2 + std::cos(angle) * e.width() / 2,
                 e.y() + e.height() / 2 - e.height() / 2 * std::sin(angle));
}
} // namespace

void SayBubble::Init(const QString& text, Direction direction, QGraphicsScene* scene)
{
  Bubble::Init(text, direction, scene);
  m_tail = new QGraphicsPathItem;
  m_tail->setBrush(QBrush(Qt::white));
  addToGroup(m_tail);
  m_tail->stackBefore(m_text);
  m_ellipse->stackBefore(m_tail);
  joinBalloonToOrigin();
}

// The tail leaves the ellipse low on the side that faces the speaker, or high
// when the balloon had to go below the speaker's head.
void SayBubble::joinBalloonToOrigin()
{
  const QRectF e = mapRectFromScene(m_ellipse->sceneBoundingRect());
  const bool leftOfOrigin = e.center().x() < 0;
  const double flip = e.center().y() < 0 ? 1 : -1;
  const double start = flip * (leftOfOrigin ? LeftTailStart : RightTailStart);
  const double end = flip * (leftOfOrigin ? LeftTailEnd : RightTailEnd);
  QPainterPath path(pointOnEllipse(e, start));
  path.lineTo(0, 0);
  path.lineTo(pointOnEllipse(e, end));
  m_tail->setPath(path);
}

QPointF SayBubble::getOffsetFromOrigin(Direction direction) const
{
  return direction == Left ? QPointF(-20, -100) : QPointF(20, -100);
}
