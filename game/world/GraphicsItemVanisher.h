#pragma once

#include <QList>

class QGraphicsItem;
class QGraphicsOpacityEffect;

/// Fades items out, one opacity step per tick, and then deletes them with
/// whatever game thing they stand for.
class GraphicsItemVanisher
{
public:
  /// Both in seconds: an item fades out over \a secondsToVanish when Advance
  /// is called every \a tickInterval.
  GraphicsItemVanisher(double secondsToVanish, double tickInterval);
  GraphicsItemVanisher(const GraphicsItemVanisher&) = delete;
  GraphicsItemVanisher& operator=(const GraphicsItemVanisher&) = delete;

  /// Takes ownership of \a item: when it has faded out, the interactive item
  /// it is tagged with is deleted (and that deletes the item), otherwise the
  /// object it is tagged with, if any, and then the item itself.
  void AddItemToVanish(QGraphicsItem* item);
  /// One tick of fading.
  void Advance();
  /// Gives every fading item back fully visible and forgets it (its scene
  /// deletes it); the objects they pictured are deleted now, and the
  /// interactive items with their pictures.
  void AbortVanishing();

private:
  struct ItemInfo
  {
    QGraphicsItem* item;
    /// Owned by the item once installed.
    QGraphicsOpacityEffect* effect;
  };

  double m_opacityStep;
  QList<ItemInfo> m_items;
};
