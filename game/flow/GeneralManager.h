#pragma once

#include <QObject>

class QGraphicsScene;
class QKeyEvent;
class QMouseEvent;
class QPainter;
class QResizeEvent;
class QWidget;
class View;

/// The game's spine, created by the main window, which forwards all its
/// events here. For now it shows an empty level scene.
class GeneralManager : public QObject
{
  Q_OBJECT

public:
  /// \a widget is the main window (not owned).
  GeneralManager(QWidget* widget, QObject* parent);

  void Render(QPainter* painter);
  void keyPressEvent(QKeyEvent* event);
  void keyReleaseEvent(QKeyEvent* event);
  void mousePressEvent(QMouseEvent* event);
  void mouseReleaseEvent(QMouseEvent* event);
  void mouseMoveEvent(QMouseEvent* event);
  void resizeEvent(QResizeEvent* event);

  View* GetView() const { return m_view; }
  QGraphicsScene* GetScene() const { return m_scene; }

private:
  QWidget* m_widget;
  QGraphicsScene* m_scene;
  View* m_view;
};
