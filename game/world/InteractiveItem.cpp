#include "world/InteractiveItem.h"

#include "common/ConvertUtils.h"
#include "common/GlobalConstants.h"
#include "common/GraphicsItemUserData.h"
#include "common/ImageOperations.h"
#include "world/Scene.h"
#include "world/interactive_items/Tree.h"

#include <QGraphicsPixmapItem>

int InteractiveItem::nextId = 0;

InteractiveItem* InteractiveItem::Create(const QString& type)
{
  if (type == QLatin1String("tree"))
    return new interactive_items::Tree;
  return new InteractiveItem;
}

InteractiveItem::InteractiveItem()
  : m_id(nextId++)
{
}

InteractiveItem::~InteractiveItem()
{
  delete m_item;
  delete m_blurredItem;
}

void InteractiveItem::Init(Scene* scene, const Level::InteractiveItem& info)
{
  m_scene = scene;
  const QPixmap picture = QPixmap::fromImage(info.image);
  m_item = scene->addPixmap(picture);
  m_item->setPos(m2px(info.position));
  m_item->setZValue(info.zValue);
  AssignInteractiveItemToGraphicsItem(this, m_item);
  m_blurredItem = scene->addPixmap(BlurPixmap(picture, bv::SceneBlurRadius));
  m_blurredItem->setPos(m_item->pos());
  m_blurredItem->setZValue(info.zValue);
  m_blurredItem->hide();
  m_vanished = false;
}

void InteractiveItem::OnTouchStarted(Object*) {}

void InteractiveItem::OnTouchFinished(Object*) {}

void InteractiveItem::Blur()
{
  if (m_vanished)
    return;
  m_item->hide();
  m_blurredItem->show();
}

void InteractiveItem::Unblur()
{
  if (m_vanished)
    return;
  m_blurredItem->hide();
  m_item->show();
}

void InteractiveItem::Vanish()
{
  if (m_vanished)
    return;
  m_vanished = true;
  m_scene->VanishInteractiveItem(this);
}
