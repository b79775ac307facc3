#pragma once

#include <QColor>
#include <QGraphicsPathItem>
#include <QObject>

class QGraphicsPixmapItem;
class QGraphicsSimpleTextItem;
class QImage;

/// A rounded, outlined menu button with a bold label. The menu input handler
/// drives it through OnHoverEnter/OnHoverLeave/OnMousePress, since the game's
/// view delivers no graphics-scene events.
class GraphicsButton : public QObject, public QGraphicsPathItem
{
  Q_OBJECT

public:
  /// \a size in scene pixels, \a pointSize of the label; added to \a scene
  /// (which then owns it) when one is given.
  GraphicsButton(const QString& text, const QSizeF& size, int pointSize, QGraphicsItem* parent, QGraphicsScene* scene);

  void SetHighlighted(bool highlighted);
  /// A disabled button is grey and ignores hover and presses.
  void SetEnabled(bool enabled);

  void OnHoverEnter();
  void OnHoverLeave();
  void OnMousePress();

  /// The button \a item is or whose label it is; null otherwise.
  static GraphicsButton* FromItem(QGraphicsItem* item);

  QString GetText() const;
  /// A new label, its font made smaller when it does not fit the button.
  void SetText(const QString& text);
  /// A picture over the label (a level's card), fitted into the button above it.
  void SetPicture(const QImage& picture);

signals:
  void clicked();

protected:
  void hoverEnterEvent(QGraphicsSceneHoverEvent* event) override;
  void hoverLeaveEvent(QGraphicsSceneHoverEvent* event) override;
  void mousePressEvent(QGraphicsSceneMouseEvent* event) override;

private:
  void setColor(const QColor& color);
  /// Centres the label, below the picture when there is one.
  void placeLabel();

  const QColor m_normalColor = Qt::darkBlue;
  const QColor m_highlightColor = Qt::red;
  const QColor m_fillColor = Qt::white;
  const QColor m_disabledColor = Qt::lightGray;
  const double m_penWidth = 5.0;
  QGraphicsSimpleTextItem* m_label;
  QGraphicsPixmapItem* m_picture = nullptr;
};
