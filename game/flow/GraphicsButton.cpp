#include "GraphicsButton.h"

#include <QBrush>
#include <QFont>
#include <QGraphicsDropShadowEffect>
#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QImage>
#include <QPixmap>
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
  placeLabel();

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

void GraphicsButton::SetText(const QString& text)
{
  m_label->setText(text);
  const double room = path().boundingRect().width() - 4 * m_penWidth;
  QFont font = m_label->font();
  while (m_label->boundingRect().width() > room && font.pointSize() > 8)
  {
    font.setPointSize(font.pointSize() * 9 / 10);
    m_label->setFont(font);
  }
  placeLabel();
}

void GraphicsButton::SetPicture(const QImage& picture)
{
  const QRectF card = path().boundingRect();
  const QSizeF room(card.width() - 4 * m_penWidth, card.height() - m_label->boundingRect().height() - 5 * m_penWidth);
  delete m_picture;
  m_picture = new QGraphicsPixmapItem(
      QPixmap::fromImage(picture.scaled(room.toSize(), Qt::KeepAspectRatio, Qt::SmoothTransformation)), this);
  m_picture->setPos(0.5 * (card.width() - m_picture->boundingRect().width()), 2 * m_penWidth);
  placeLabel();
}

void GraphicsButton::placeLabel()
{
  const QRectF bounds = boundingRect();
  const QRectF label = m_label->boundingRect();
  const double x = 0.5 * (bounds.width() - label.width()) - m_penWidth;
  if (m_picture)
    m_label->setPos(x, m_picture->pos().y() + m_picture->boundingRect().height() + 0.5 * m_penWidth);
  else
    m_label->setPos(x, 0.5 * (bounds.height() - label.height()) - m_penWidth);
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
