#include "CutsceneInputHandler.h"

#include <QKeyEvent>

void CutsceneInputHandler::keyPressEvent(QKeyEvent* event)
{
  if (event->key() == Qt::Key_Space)
    emit skipCutsceneCue();
  else if (event->key() == Qt::Key_Escape)
    emit goToMenu();
}

void CutsceneInputHandler::mousePressEvent(QMouseEvent*, QPointF)
{
  emit skipCutsceneCue();
}
