#include "View.h"

#include <QGraphicsScene>
#include <QPainter>
#include <QWidget>

View::View(QWidget* widget) : m_widget(widget) {}

void View::setScene(QGraphicsScene* scene)
{
  if (m_scene)
    disconnect(m_scene, &QGraphicsScene::changed, this, &View::update);
  m_scene = scene;
  if (m_scene)
    connect(m_scene, &QGraphicsScene::changed, this, &View::update);
}

int View::width() const
{
  const QRect geometry = m_widget->geometry();
  return geometry.right() - geometry.left() + 1;
}

int View::height() const
{
  const QRect geometry = m_widget->geometry();
  return geometry.bottom() - geometry.top() + 1;
}

QRectF View::rect() const
{
  return QRectF(0, 0, width(), height());
}

QPointF View::mapToScene(const QPoint& point) const
{
  return m_inverseTransform.map(QPointF(point));
}

QPoint View::mapFromScene(const QPointF& point) const
{
  return m_transform.map(point).toPoint();
}

void View::setTransform(const QTransform& transform)
{
  m_transform = transform;
  onTransformChange();
}

void View::resetTransform()
{
  setTransform(QTransform());
}

void View::scale(double sx, double sy)
{
  m_transform.scale(sx, sy);
  onTransformChange();
}

void View::translate(double dx, double dy)
{
  m_transform.translate(dx, dy);
  onTransformChange();
}

namespace
{
// The coordinate of the camera's centre on one axis, kept inside the bounds.
double clampedCenter(double wanted, double visibleLength, double boundsStart, double boundsLength)
{
  if (visibleLength > boundsLength)
    return boundsStart + boundsLength * 0.5;
  if (wanted - visibleLength * 0.5 < boundsStart)
    return boundsStart + visibleLength * 0.5;
  if (wanted + visibleLength * 0.5 > boundsStart + boundsLength)
    return boundsStart + boundsLength - visibleLength * 0.5;
  return wanted;
}
} // namespace

void View::centerOn(const QPointF& point)
{
  if (!m_scene)
    return;
  // The widget may have been resized since the transform last changed: start
  // from the point really shown at its middle.
  onTransformChange();
  const QRectF visible = m_inverseTransform.mapRect(rect());
  const QRectF bounds = m_scene->sceneRect();
  const double x = clampedCenter(point.x(), visible.width(), bounds.left(), bounds.width());
  const double y = clampedCenter(point.y(), visible.height(), bounds.top(), bounds.height());
  translate(m_center.x() - x, m_center.y() - y);
  m_center = QPointF(x, y);
}

void View::fitInView(const QRectF& rect, Qt::AspectRatioMode mode)
{
  resetTransform();
  double sx = width() / rect.width();
  double sy = height() / rect.height();
  if (mode == Qt::KeepAspectRatio)
    sx = sy = qMin(sx, sy);
  else if (mode == Qt::KeepAspectRatioByExpanding)
    sx = sy = qMax(sx, sy);
  scale(sx, sy);
  centerOn(rect.center());
}

void View::render(QPainter* painter)
{
  if (!m_scene)
    return;
  const QRectF target = rect();
  m_scene->render(painter, target, m_inverseTransform.mapRect(target), Qt::IgnoreAspectRatio);
}

QPixmap View::makeScreenshot()
{
  QPixmap screenshot(width(), height());
  screenshot.fill(Qt::white);
  QPainter painter(&screenshot);
  painter.setRenderHint(QPainter::Antialiasing);
  render(&painter);
  return screenshot;
}

void View::update()
{
  m_widget->update();
}

void View::onTransformChange()
{
  m_inverseTransform = m_transform.inverted();
  m_center = m_inverseTransform.map(QPointF(width() * 0.5, height() * 0.5));
}
