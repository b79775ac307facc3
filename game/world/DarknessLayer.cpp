#include "world/DarknessLayer.h"

#include "common/GlobalConstants.h"
#include "world/LightSource.h"

#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QLoggingCategory>
#include <QPainter>
#include <QPixmap>
#include <QRegion>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <tuple>

namespace
{
Q_LOGGING_CATEGORY(lcDarkness, "bv.scene", QtInfoMsg)

// A 256 MB picture: far more than any level needs, and a level file asking for
// more would take the memory of the whole game.
constexpr double MaxPixels = 64.0 * 1024 * 1024;

// Outside 0..1 a level is as dark, or as light, as it gets.
QRgb darknessColor(double level)
{
  int alpha = 0;
  if (level > 1)
    alpha = 255;
  else if (level >= 0)
    alpha = int(level * 255);
  return qRgba(0, 0, 0, alpha);
}

bool before(const QRect& a, const QRect& b)
{
  return std::make_tuple(a.x(), a.y(), a.width(), a.height()) < std::make_tuple(b.x(), b.y(), b.width(), b.height());
}
} // namespace

DarknessLayer::~DarknessLayer()
{
  qDeleteAll(m_staticLights);
  qDeleteAll(m_dynamicLights);
  delete m_item;
}

void DarknessLayer::Init(QGraphicsScene* scene, double level)
{
  m_color = darknessColor(level);
  const QRectF rect = scene->sceneRect();
  if (rect.width() * rect.height() <= MaxPixels)
    m_image = QImage(int(rect.width()), int(rect.height()), QImage::Format_ARGB32_Premultiplied);
  else
    qCDebug(lcDarkness) << "darkness left out: a scene of" << rect.size() << "pixels is too large to cover";
  m_image.fill(m_color);
  m_pixmap = QPixmap::fromImage(m_image);
  m_drawnRects.clear();
  m_drawnColor = m_color;
  delete m_item;
  m_item = scene->addPixmap(m_pixmap);
  // Its shape is its rectangle: a shape read from the picture's alpha would be
  // computed again after every redraw by every query of the scene's items.
  m_item->setShapeMode(QGraphicsPixmapItem::BoundingRectShape);
  m_item->setZValue(bv::DarknessLayerZValue);
}

void DarknessLayer::AddStaticLightSource(double radius, QPointF position)
{
  m_staticLights.append(CreateStaticLightSource(position, radius));
}

void DarknessLayer::AddDynamicLightSource(double radius, Object* object)
{
  delete m_dynamicLights.value(object, nullptr);
  m_dynamicLights.insert(object, CreateDynamicLightSource(object, radius));
}

void DarknessLayer::RemoveDynamicLightSource(Object* object)
{
  delete m_dynamicLights.take(object);
}

void DarknessLayer::Update()
{
  QVector<QRect> rects;
  for (const LightSource* light : qAsConst(m_staticLights))
    rects << light->GetRect();
  for (const LightSource* light : qAsConst(m_dynamicLights))
    rects << light->GetRect();
  std::sort(rects.begin(), rects.end(), before);
  // A pixel changes only under a light that came, went or moved.
  QRegion dirty;
  if (m_color != m_drawnColor)
    dirty = m_image.rect();
  else
  {
    QVector<QRect> changed;
    std::set_symmetric_difference(rects.cbegin(), rects.cend(), m_drawnRects.cbegin(), m_drawnRects.cend(),
                                  std::back_inserter(changed), before);
    for (const QRect& rect : qAsConst(changed))
      dirty += rect;
    dirty &= m_image.rect();
  }
  m_drawnRects = rects;
  m_drawnColor = m_color;
  if (dirty.isEmpty() || !m_item)
    return;

  QPainter painter(&m_image);
  painter.setClipRegion(dirty);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.fillRect(m_image.rect(), QColor::fromRgba(m_color));
  for (const LightSource* light : qAsConst(m_staticLights))
    light->Render(painter);
  for (const LightSource* light : qAsConst(m_dynamicLights))
    light->Render(painter);
  painter.end();

  // The item lets go of its picture first, so that painting it copies nothing.
  m_item->setPixmap(QPixmap());
  QPainter copy(&m_pixmap);
  copy.setClipRegion(dirty);
  copy.setCompositionMode(QPainter::CompositionMode_Source);
  copy.drawImage(0, 0, m_image);
  copy.end();
  m_item->setPixmap(m_pixmap);
}

void DarknessLayer::SetGlobalDarknessLevele(double level)
{
  m_color = darknessColor(level);
  Update();
}

double DarknessLayer::GetGlobalDarknessLevel() const
{
  return qAlpha(m_color) / 255.0;
}

double DarknessLayer::GetDarknessLevel(QPointF point) const
{
  const int x = int(std::lround(point.x()));
  const int y = int(std::lround(point.y()));
  if (!m_image.valid(x, y))
    return 0;
  return qAlpha(m_image.pixel(x, y)) / 255.0;
}
