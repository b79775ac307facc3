#pragma once

#include <QObject>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QTransform>

class QGraphicsRectItem;
class QGraphicsScene;
class QGraphicsSimpleTextItem;
class QGraphicsTextItem;

/// The overlay of the level scene: a large message centred on the screen and
/// a subtitle band along its bottom. Its items ignore the view's scale and are
/// placed in scene coordinates from the viewport the game manager reports.
class HUD : public QObject
{
  Q_OBJECT

public:
  explicit HUD(QObject* parent);

  /// Adds the items to \a scene, which owns them; call whenever the scene is rebuilt.
  void Create(QGraphicsScene* scene);
  /// Forgets the items without deleting them (their scene already did).
  void Reset();
  void ShowMessage(const QString& text);
  void HideMessage();
  /// \a html is rich text.
  void ShowSubtitle(const QString& html);
  void HideSubtitle();
  /// \a viewport in window pixels; \a viewTransform maps scene to window.
  void UpdateFromView(QSize viewport, QTransform viewTransform);

  /// The part of the scene on screen, scene pixels; empty before the first UpdateFromView.
  QRectF GetVisibleRect() const;

  /// Null before Create and after Reset.
  QGraphicsSimpleTextItem* GetMessageItem() const { return m_message; }
  QGraphicsTextItem* GetSubtitleItem() const { return m_subtitle; }
  QGraphicsRectItem* GetSubtitleBackground() const { return m_subtitleBackground; }

private:
  void placeMessage();
  void layOutSubtitle();

  QSize m_viewport{-1, -1};
  QTransform m_inverseViewTransform;
  QGraphicsSimpleTextItem* m_message = nullptr;
  QGraphicsTextItem* m_subtitle = nullptr;
  QGraphicsRectItem* m_subtitleBackground = nullptr;
};
