#pragma once

#include <QImage>
#include <QList>
#include <QMap>
#include <QPixmap>
#include <QRect>
#include <QVector>
#include <QPointF>
#include <QRgb>

class LightSource;
class Object;
class QGraphicsPixmapItem;
class QGraphicsScene;

/// A semi-transparent black picture over the whole scene, with holes where
/// lights shine. Above stickmen, objects and foregrounds; below drawings,
/// cues and the HUD.
class DarknessLayer
{
public:
  DarknessLayer() = default;
  ~DarknessLayer();
  DarknessLayer(const DarknessLayer&) = delete;
  DarknessLayer& operator=(const DarknessLayer&) = delete;

  /// Covers \a scene's rectangle with darkness \a level (0 light .. 1 dark).
  void Init(QGraphicsScene* scene, double level);
  /// \a radius and \a position in scene pixels.
  void AddStaticLightSource(double radius, QPointF position);
  /// A light following \a object (not owned), replacing the one it had.
  void AddDynamicLightSource(double radius, Object* object);
  void RemoveDynamicLightSource(Object* object);
  /// Redraws the darkness with every light where it is now: only where a
  /// light came, went or moved, unless the darkness level changed.
  void Update();
  /// Clamped to 0..1; redraws at once.
  void SetGlobalDarknessLevele(double level);
  double GetGlobalDarknessLevel() const;
  /// 0 .. 1 at \a point (scene pixels) as last drawn; 0 outside the scene.
  double GetDarknessLevel(QPointF point) const;

  const QImage& GetImage() const { return m_image; }
  int GetStaticLightCount() const { return m_staticLights.size(); }
  int GetDynamicLightCount() const { return m_dynamicLights.size(); }

private:
  /// Owned.
  QGraphicsPixmapItem* m_item = nullptr;
  QRgb m_color = 0xFF000000;
  QImage m_image;
  /// Lights owned.
  QMap<Object*, LightSource*> m_dynamicLights;
  QList<LightSource*> m_staticLights;
  /// What the picture shows: the lights' rectangles and the colour at the last redraw.
  QVector<QRect> m_drawnRects;
  QRgb m_drawnColor = 0;
  /// The item's picture, unshared while it is painted.
  QPixmap m_pixmap;
};
