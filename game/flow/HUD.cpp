#include "flow/HUD.h"

#include "common/GlobalConstants.h"

#include <QBrush>
#include <QFont>
#include <QGraphicsDropShadowEffect>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsTextItem>
#include <QPen>

namespace
{
constexpr int MessagePointSize = 60;
constexpr int SmallestMessagePointSize = 10;

void setUpOverlayItem(QGraphicsItem* item)
{
  item->setFlag(QGraphicsItem::ItemIgnoresTransformations);
  item->setZValue(bv::HudZValue);
  item->hide();
}
} // namespace

HUD::HUD(QObject* parent)
  : QObject(parent)
{
}

void HUD::Create(QGraphicsScene* scene)
{
  m_message = new QGraphicsSimpleTextItem;
  QFont font;
  font.setPointSize(MessagePointSize);
  font.setWeight(QFont::Bold);
  m_message->setFont(font);
  m_message->setBrush(QBrush(Qt::blue));
  m_message->setPen(QPen(QBrush(Qt::white), 2.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
  auto* shadow = new QGraphicsDropShadowEffect;
  shadow->setOffset(-5, 5);
  m_message->setGraphicsEffect(shadow);
  setUpOverlayItem(m_message);
  scene->addItem(m_message);

  m_subtitleBackground = new QGraphicsRectItem(0, 0, 1, 1);
  m_subtitleBackground->setPen(QPen(Qt::NoPen));
  m_subtitleBackground->setBrush(QBrush(QColor(0, 0, 0, 127)));
  setUpOverlayItem(m_subtitleBackground);
  scene->addItem(m_subtitleBackground);

  m_subtitle = new QGraphicsTextItem;
  m_subtitle->setDefaultTextColor(Qt::white);
  setUpOverlayItem(m_subtitle);
  scene->addItem(m_subtitle);
}

void HUD::Reset()
{
  m_message = nullptr;
  m_subtitle = nullptr;
  m_subtitleBackground = nullptr;
}

void HUD::ShowMessage(const QString& text)
{
  if (!m_message)
    return;
  m_message->setText(text);
  placeMessage();
  m_message->show();
}

QRectF HUD::GetVisibleRect() const
{
  if (m_viewport.width() <= 0 || m_viewport.height() <= 0)
    return QRectF();
  return m_inverseViewTransform.mapRect(QRectF(QPointF(0, 0), QSizeF(m_viewport)));
}

void HUD::HideMessage()
{
  if (m_message)
    m_message->hide();
}

void HUD::ShowSubtitle(const QString& html)
{
  if (!m_subtitle)
    return;
  m_subtitle->setHtml(html);
  layOutSubtitle();
  m_subtitleBackground->show();
  m_subtitle->show();
}

void HUD::HideSubtitle()
{
  if (!m_subtitle)
    return;
  m_subtitle->hide();
  m_subtitleBackground->hide();
}

void HUD::UpdateFromView(QSize viewport, QTransform viewTransform)
{
  m_viewport = viewport;
  m_inverseViewTransform = viewTransform.inverted();
  placeMessage();
  layOutSubtitle();
}

// The item ignores the view's scale, so its scene bounding rectangle is its
// size on the screen.
void HUD::placeMessage()
{
  if (!m_message || m_message->text().isEmpty() || m_viewport.width() <= 0 || m_viewport.height() <= 0)
    return;
  QFont font = m_message->font();
  int pointSize = MessagePointSize;
  font.setPointSize(pointSize);
  m_message->setFont(font);
  for (;;)
  {
    const QRectF r = m_message->sceneBoundingRect();
    if ((r.width() <= m_viewport.width() && r.height() <= m_viewport.height()) || pointSize <= SmallestMessagePointSize)
      break;
    pointSize -= 10;
    font.setPointSize(pointSize);
    m_message->setFont(font);
  }
  const QRectF r = m_message->boundingRect();
  m_message->setPos(m_inverseViewTransform.map(
    QPointF((m_viewport.width() - r.width()) * 0.5, (m_viewport.height() - r.height()) * 0.5)));
}

void HUD::layOutSubtitle()
{
  if (!m_subtitle || m_viewport.width() <= 0 || m_viewport.height() <= 0)
    return;
  const QPointF topLeft = m_inverseViewTransform.map(QPointF(0, 0.94 * m_viewport.height()));
  const QPointF bottomRight = m_inverseViewTransform.map(QPointF(m_viewport.width(), m_viewport.height()));
  const QRectF band(topLeft, bottomRight);
  m_subtitleBackground->setRect(band);
  QFont font = m_subtitle->font();
  font.setPointSize(qMax(1, int(0.4 * band.height())));
  m_subtitle->setFont(font);
  m_subtitle->setPos(band.left() + 0.15 * band.height(), band.top() + 0.15 * band.height());
}
