#include "flow/CutsceneContinueIndicator.h"

#include "common/FilePaths.h"
#include "common/GlobalConstants.h"

#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QLoggingCategory>
#include <QPixmap>

namespace
{
Q_LOGGING_CATEGORY(lcIndicator, "bv.cutscene", QtInfoMsg)
}

const QString CutsceneContinueIndicator::baseFilename = QStringLiteral("space");

// A missing picture leaves its frame empty: the cutscene still works, the
// player just sees no sign.
CutsceneContinueIndicator::CutsceneContinueIndicator(QGraphicsScene* scene)
{
  for (int i = 0; i < 2; ++i)
  {
    const QString path = QStringLiteral("%1/%2%3.png").arg(GetDataRootPath(), baseFilename).arg(i + 1);
    QPixmap picture(path);
    if (picture.isNull())
      qCDebug(lcIndicator) << "Could not load pixmap" << path;
    m_frames[i] = scene->addPixmap(picture);
    m_frames[i]->setZValue(bv::HudZValue);
    m_frames[i]->hide();
  }
}

void CutsceneContinueIndicator::ShowWithDelay(double seconds, const QPointF& position)
{
  for (QGraphicsPixmapItem* frame : m_frames)
    frame->setPos(position.x() - frame->boundingRect().width() / 2, position.y());
  m_shown = true;
  m_delayLeftMs = int(seconds * 1000);
}

void CutsceneContinueIndicator::Hide()
{
  for (QGraphicsPixmapItem* frame : m_frames)
    frame->hide();
  m_shown = false;
}

void CutsceneContinueIndicator::Advance()
{
  if (!m_shown)
    return;
  if (m_delayLeftMs > 0)
  {
    m_delayLeftMs -= bv::TickIntervalMs;
    if (m_delayLeftMs <= 0)
    {
      m_currentFrame = 0;
      m_frames[0]->show();
      m_blinkLeftMs = blinkIntervalMs;
    }
    return;
  }
  m_blinkLeftMs -= bv::TickIntervalMs;
  if (m_blinkLeftMs <= 0)
  {
    m_frames[m_currentFrame]->hide();
    m_currentFrame = 1 - m_currentFrame;
    m_frames[m_currentFrame]->show();
    m_blinkLeftMs = blinkIntervalMs;
  }
}

int CutsceneContinueIndicator::GetVisibleFrame() const
{
  for (int i = 0; i < 2; ++i)
    if (m_frames[i]->isVisible())
      return i;
  return -1;
}
