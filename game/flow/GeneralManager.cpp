#include "GeneralManager.h"

#include "View.h"

#include <QGraphicsScene>
#include <QKeyEvent>
#include <QWidget>

namespace
{
constexpr double EmptySceneWidthPx = 1920;
constexpr double EmptySceneHeightPx = 1080;
} // namespace

GeneralManager::GeneralManager(QWidget* widget, QObject* parent)
    : QObject(parent), m_widget(widget), m_scene(new QGraphicsScene(this)), m_view(new View(widget))
{
  m_view->setParent(this);
  m_scene->setSceneRect(0, 0, EmptySceneWidthPx, EmptySceneHeightPx);
  m_scene->setBackgroundBrush(QColor(250, 248, 240));
  m_view->setScene(m_scene);
}

void GeneralManager::Render(QPainter* painter)
{
  m_view->render(painter);
}

void GeneralManager::keyPressEvent(QKeyEvent* event)
{
  if (event->key() == Qt::Key_Escape)
    m_widget->close();
}

void GeneralManager::keyReleaseEvent(QKeyEvent*) {}
void GeneralManager::mousePressEvent(QMouseEvent*) {}
void GeneralManager::mouseReleaseEvent(QMouseEvent*) {}
void GeneralManager::mouseMoveEvent(QMouseEvent*) {}

void GeneralManager::resizeEvent(QResizeEvent*)
{
  m_view->fitInView(m_scene->sceneRect(), Qt::KeepAspectRatio);
}
