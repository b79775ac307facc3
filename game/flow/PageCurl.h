#pragma once

#include <QBitmap>
#include <QPixmap>
#include <QPointF>

class QGraphicsPixmapItem;
class QGraphicsScene;

/// The page turn at a level change: the old level's picture curls away from
/// its bottom-right corner along a 45 degree fold, revealing the scene below.
class PageCurl
{
public:
  PageCurl() = default;
  ~PageCurl();
  PageCurl(const PageCurl&) = delete;
  PageCurl& operator=(const PageCurl&) = delete;

  /// Shows \a page with its top-left at \a pos (scene pixels) over everything
  /// else; the curl owns its item.
  void Init(QGraphicsScene* scene, const QPixmap& page, const QPointF& pos);
  /// One tick: the fold moves on by a step.
  void Advance();
  /// The fold has swept the whole page.
  bool IsFinished() const;

  /// Pixels per tick.
  double GetStep() const { return m_step; }
  QGraphicsPixmapItem* GetItem() const { return m_item; }

private:
  double m_progress = 0;
  double m_step = 0;
  QGraphicsScene* m_scene = nullptr;
  QGraphicsPixmapItem* m_item = nullptr;
  QPixmap m_page;
  QBitmap m_mask;
  QPixmap m_source;
};
