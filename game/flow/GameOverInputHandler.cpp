#include "GameOverInputHandler.h"

#include <QKeyEvent>

void GameOverInputHandler::keyPressEvent(QKeyEvent* event)
{
  if (event->key() == Qt::Key_Escape)
    emit goToMenu();
}
