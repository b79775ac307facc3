#pragma once

#include <QObject>
#include <QPixmap>
#include <QTransform>

class QGraphicsScene;
class QPainter;
class QWidget;

/// The camera through which a graphics scene is drawn into the window: a
/// scene-to-widget transform kept inside the scene's rectangle. Neither the
/// widget nor the scene is owned.
class View : public QObject
{
  Q_OBJECT

public:
  explicit View(QWidget* widget);

  /// Only the shown scene's changes repaint the widget; null shows nothing.
  void setScene(QGraphicsScene* scene);
  QGraphicsScene* scene() const { return m_scene; }

  int width() const;
  int height() const;
  QRectF rect() const;

  QPointF mapToScene(const QPoint& point) const;
  QPoint mapFromScene(const QPointF& point) const;

  const QTransform& transform() const { return m_transform; }
  void setTransform(const QTransform& transform);
  void resetTransform();
  void scale(double sx, double sy);
  void translate(double dx, double dy);

  /// Scene point shown at the middle of the widget.
  QPointF center() const { return m_center; }
  /// Moves the camera, never past the scene's edges; a scene smaller than the
  /// viewport on an axis is centred on it.
  void centerOn(const QPointF& point);
  void fitInView(const QRectF& rect, Qt::AspectRatioMode mode);

  /// Draws the visible part of the scene; the painter's hints are the caller's.
  void render(QPainter* painter);
  QPixmap makeScreenshot();

public slots:
  void update();

private:
  void onTransformChange();

  QWidget* m_widget;
  QGraphicsScene* m_scene = nullptr;
  QTransform m_transform;
  QTransform m_inverseTransform;
  QPointF m_center;
};
