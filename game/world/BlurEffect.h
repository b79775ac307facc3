#pragma once

#include <QGraphicsBlurEffect>

/// The blur the scene puts on its items while it is shown blurred. Its
/// bounding rectangle covers the whole blurred margin, so nothing is clipped.
class BlurEffect : public QGraphicsBlurEffect
{
  Q_OBJECT

public:
  /// \a radius in pixels.
  BlurEffect(int radius, QObject* parent);

  QRectF boundingRectFor(const QRectF& rect) const override;

  /// Takes the blur off \a item. Qt tells the scene's index that an item shrank
  /// only after its effect is gone: the index then looks for the item and its
  /// children by their smaller rectangles and keeps them where the blurred
  /// margin reached, to be read there once they are freed. Here the index
  /// learns of the change while the margin still counts.
  static void TakeOff(QGraphicsItem* item);
};
