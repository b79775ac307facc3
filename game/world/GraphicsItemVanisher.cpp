#include "world/GraphicsItemVanisher.h"

#include "common/GraphicsItemUserData.h"
#include "world/BlurEffect.h"
#include "world/InteractiveItem.h"
#include "world/Object.h"

#include <QGraphicsItem>
#include <QGraphicsOpacityEffect>

GraphicsItemVanisher::GraphicsItemVanisher(double secondsToVanish, double tickInterval)
  : m_opacityStep(tickInterval / secondsToVanish)
{
}

void GraphicsItemVanisher::AddItemToVanish(QGraphicsItem* item)
{
  auto* effect = new QGraphicsOpacityEffect;
  effect->setOpacity(1.0);
  BlurEffect::TakeOff(item);
  item->setGraphicsEffect(effect);
  m_items.append({item, effect});
}

void GraphicsItemVanisher::Advance()
{
  for (auto it = m_items.begin(); it != m_items.end();)
  {
    const double opacity = it->effect->opacity() - m_opacityStep;
    if (opacity > 0)
    {
      it->effect->setOpacity(opacity);
      ++it;
      continue;
    }
    // An interactive item takes its pictures with it; any other item goes
    // with the object it pictures, if any.
    if (InteractiveItem* interactiveItem = ExtractInteractiveItemFromGraphicsItem(it->item))
      delete interactiveItem;
    else
    {
      delete static_cast<QObject*>(ExtractObjectFromGraphicsItem(it->item));
      delete it->item;
    }
    it = m_items.erase(it);
  }
}

// The items stay with their scene, but an object that was vanishing is no
// longer anybody else's: it goes now rather than leak.
void GraphicsItemVanisher::AbortVanishing()
{
  for (const ItemInfo& info : m_items)
  {
    info.item->setGraphicsEffect(nullptr);
    delete static_cast<QObject*>(ExtractObjectFromGraphicsItem(info.item));
    delete ExtractInteractiveItemFromGraphicsItem(info.item);
  }
  m_items.clear();
}
