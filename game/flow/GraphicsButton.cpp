#include "GraphicsButton.h"

#include <QBrush>
#include <QFont>
#include <QGraphicsDropShadowEffect>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QPen>

GraphicsButton::GraphicsButton(const QString& text, const QSizeF& size, int pointSize, QGraphicsItem* parent,
                               QGraphicsScene* scene)
    : QGraphicsPathItem(parent), m_label(new QGraphicsSimpleTextItem(text, this))
{
  QPainterPath path;
  const double radius = 0.25 * size.height();
  path.addRoundedRect(QRectF(QPointF(0, 0), size), radius, radius);
  setPath(path);
  setPen(QPen(QBrush(m_normalColor), m_penWidth, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
  setBrush(QBrush(m_fillColor));

  QFont font = m_label->font();
  font.setPointSize(pointSize);
  font.setWeight(QFont::Bold);
  m_label->setFont(font);
  m_label->setBrush(QBrush(m_normalColor));
  const QRectF bounds = boundingRect();
  const QRectF label = m_label->boundingRect();
  m_label->setPos(0.5 * (bounds.width() - label.width()) - m_penWidth,
                  0.5 * (bounds.height() - label.height()) - m_penWidth);

  auto* shadow = new QGraphicsDropShadowEffect;
  shadow->setOffset(-m_penWidth, m_penWidth);
  setGraphicsEffect(shadow);
  setAcceptHoverEvents(true);
  if (scene)
    scene->addItem(this);
}

void GraphicsButton::SetHighlighted(bool highlighted)
{
  setColor(highlighted ? m_highlightColor : m_normalColor);
}

void GraphicsButton::SetEnabled(bool enabled)
{
  setColor(enabled ? m_normalColor : m_disabledColor);
  setEnabled(enabled);
}

void GraphicsButton::OnHoverEnter()
{
  if (isEnabled())
    SetHighlighted(true);
}

void GraphicsButton::OnHoverLeave()
{
  if (isEnabled())
    SetHighlighted(false);
}

void GraphicsButton::OnMousePress()
{
  if (isEnabled())
    emit clicked();
}

GraphicsButton* GraphicsButton::FromItem(QGraphicsItem* item)
{
  if (!item)
    return nullptr;
  if (auto* button = dynamic_cast<GraphicsButton*>(item))
    return button;
  return dynamic_cast<GraphicsButton*>(item->parentItem());
}

QString GraphicsButton::GetText() const
{
  return m_label->text();
}

void GraphicsButton::hoverEnterEvent(QGraphicsSceneHoverEvent*)
{
  OnHoverEnter();
}

void GraphicsButton::hoverLeaveEvent(QGraphicsSceneHoverEvent*)
{
  OnHoverLeave();
}

void GraphicsButton::mousePressEvent(QGraphicsSceneMouseEvent*)
{
  OnMousePress();
}

void GraphicsButton::setColor(const QColor& color)
{
  QPen outline = pen();
  outline.setColor(color);
  setPen(outline);
  m_label->setBrush(QBrush(color));
}
