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
};
