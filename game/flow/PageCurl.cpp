#include "flow/PageCurl.h"

#include "common/GlobalConstants.h"

#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QLinearGradient>
#include <QPainter>
#include <QPolygon>

namespace
{
constexpr double HalfSqrt2 = 0.7071067811865475;
constexpr double TwoMinusSqrt2 = 0.5857864376269049;
constexpr double FullShade = 42.426406871192846;
constexpr int CurlBox = 120;
} // namespace

PageCurl::~PageCurl()
{
  delete m_item;
}

void PageCurl::Init(QGraphicsScene* scene, const QPixmap& page, const QPointF& pos)
{
  m_scene = scene;
  m_source = page;
  m_page = page.copy();
  m_mask = QBitmap(m_page.size());
  m_mask.fill(Qt::color1);
  delete m_item;
  m_item = scene->addPixmap(m_page);
  m_item->setPos(pos);
  m_item->setZValue(bv::PageCurlZValue);
  m_item->setFlag(QGraphicsItem::ItemIgnoresTransformations);
  m_progress = 0;
  m_step = (m_page.width() + m_page.height()) / (bv::SecondsToTurnPage / bv::TickIntervalSec);
}

void PageCurl::Advance()
{
  if (!m_item || m_page.isNull())
    return;
  const int W = m_page.width();
  const int H = m_page.height();
  const double p = m_progress;
  double A;
  double R;
  double S = FullShade;
  if (p < 120)
  {
    A = p / 2;
    R = p / 2;
    S = HalfSqrt2 * p / 2;
  }
  else if (p < W - 60)
  {
    A = p - 60;
    R = 60;
  }
  else if (p < W)
  {
    A = 2 * p - W;
    R = W - p;
  }
  else
  {
    A = p;
    R = 0;
  }
  const int a = int(A);
  const int r = int(R);
  const int f = int(R * TwoMinusSqrt2);
  const int g = int(R - HalfSqrt2 * R);
  const int s = int(S);

  {
    QPainter painter(&m_page);
    const QPolygon flap({QPoint(W - a, H - f), QPoint(W - a, H - a), QPoint(W - f, H - a)});
    const QPoint gradientStart = ((flap[0] + flap[2]) / 2.0);
    QLinearGradient gradient(gradientStart, gradientStart - QPoint(s, s));
    gradient.setColorAt(0, Qt::darkGray);
    gradient.setColorAt(1, Qt::white);
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient);
    painter.drawPolygon(flap);

    painter.setPen(QPen(QBrush(Qt::black), 3, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRect(W - a - CurlBox, H - CurlBox, CurlBox, CurlBox), 270 * 16, 90 * 16);
    painter.drawArc(QRect(W - CurlBox, H - a - CurlBox, CurlBox, CurlBox), 270 * 16, 90 * 16);
    painter.drawLine(W - a, H - r, W - a, H - a);
    painter.drawLine(W - a, H - a, W, H - a);
    painter.drawLine(W - a - g, H - g, W - g, H - a - g);
  }
  {
    QPainter painter(&m_mask);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::color0);
    painter.drawPolygon(QPolygon({QPoint(W - a - f, H), QPoint(W, H - a - f), QPoint(W, H)}));
  }
  m_page.setMask(m_mask);
  m_item->setPixmap(m_page);
  m_progress += m_step;
}

bool PageCurl::IsFinished() const
{
  return m_progress >= m_page.width() + m_page.height();
}
