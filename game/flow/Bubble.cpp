#include "flow/Bubble.h"

#include "common/GlobalConstants.h"

#include <QBrush>
#include <QFont>
#include <QGraphicsDropShadowEffect>
#include <QGraphicsEllipseItem>
#include <QGraphicsScene>
#include <QGraphicsTextItem>

#include <algorithm>
#include <cmath>

const QPointF Bubble::shadowOffset(-5.0, 5.0);

namespace
{
// Room kept between the balloon and the screen's edges: the shadow and a little paper.
constexpr double ScreenMarginPx = 12;
// A balloon moved sideways towards its speaker goes this far above the speaker's head.
constexpr double HeadClearancePx = 15;

// The move that brings [low, high] inside [min, max]; the low end wins when it cannot fit.
double moveInside(double low, double high, double min, double max)
{
  if (low < min || high - low > max - min)
    return min - low;
  return high > max ? max - high : 0;
}
} // namespace

void Bubble::Init(const QString& text, Direction direction, QGraphicsScene* scene)
{
  scene->addItem(this);
  setZValue(bv::CuesZValue);

  m_text = new QGraphicsTextItem;
  m_text->setHtml(text);
  QFont font = m_text->font();
  font.setPointSizeF(font.pointSizeF() + 4);
  m_text->setFont(font);
  m_text->adjustSize();
  addToGroup(m_text);

  const QRectF ellipse = calculateEllipseOuterRect(m_text->boundingRect());
  m_ellipse = new QGraphicsEllipseItem(ellipse);
  m_ellipse->setBrush(QBrush(Qt::white));
  addToGroup(m_ellipse);

  QPointF offset = getOffsetFromOrigin(direction);
  if (offset.x() < 0)
    offset.rx() -= ellipse.width() / 2;
  m_text->moveBy(offset.x(), offset.y());
  m_ellipse->moveBy(offset.x(), offset.y());
  m_ellipse->stackBefore(m_text);

  auto* shadow = new QGraphicsDropShadowEffect;
  shadow->setOffset(shadowOffset);
  setGraphicsEffect(shadow);
}

QRectF Bubble::GetBalloonRect() const
{
  return m_ellipse->mapRectToScene(m_ellipse->rect());
}

void Bubble::Place(const QPointF& origin, const QRectF& visible)
{
  setPos(origin);
  QPointF shift;
  if (!visible.isEmpty())
  {
    const QRectF area = visible.adjusted(ScreenMarginPx, ScreenMarginPx, -ScreenMarginPx, -ScreenMarginPx);
    const QRectF balloon = GetBalloonRect().translated(-m_balloonShift);
    shift.setX(moveInside(balloon.left(), balloon.right(), area.left(), area.right()));
    const double bottom = shift.x() == 0 ? area.bottom() : std::min(area.bottom(), origin.y() - HeadClearancePx);
    shift.setY(moveInside(balloon.top(), balloon.bottom(), area.top(), bottom));
  }
  if (shift == m_balloonShift)
    return;
  const QPointF step = shift - m_balloonShift;
  m_text->moveBy(step.x(), step.y());
  m_ellipse->moveBy(step.x(), step.y());
  m_balloonShift = shift;
  joinBalloonToOrigin();
}

QRectF Bubble::calculateEllipseOuterRect(const QRectF& r)
{
  const double a = (r.width() + r.width()) / 3.0;
  const double b = r.height() * a / std::sqrt(4 * a * a - r.width() * r.width());
  QRectF ellipse(0, 0, 2 * a, 2 * b);
  ellipse.moveCenter(r.center());
  return ellipse;
}
