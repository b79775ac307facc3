#include "flow/Bubble.h"

#include "common/GlobalConstants.h"

#include <QBrush>
#include <QFont>
#include <QGraphicsDropShadowEffect>
#include <QGraphicsEllipseItem>
#include <QGraphicsScene>
#include <QGraphicsTextItem>

#include <cmath>

const QPointF Bubble::shadowOffset(-5.0, 5.0);

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

QRectF Bubble::calculateEllipseOuterRect(const QRectF& r)
{
  const double a = (r.width() + r.width()) / 3.0;
  const double b = r.height() * a / std::sqrt(4 * a * a - r.width() * r.width());
  QRectF ellipse(0, 0, 2 * a, 2 * b);
  ellipse.moveCenter(r.center());
  return ellipse;
}
