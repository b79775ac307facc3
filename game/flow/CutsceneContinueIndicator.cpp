#include "flow/CutsceneContinueIndicator.h"

#include "flow/Bubble.h"

#include "common/FilePaths.h"
#include "common/GlobalConstants.h"

#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QLoggingCategory>
#include <QPixmap>

#include <cmath>

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

void CutsceneContinueIndicator::ShowWithDelay(double seconds, const Bubble& bubble)
{
  Place(bubble);
  m_shown = true;
  m_delayLeftMs = int(seconds * 1000);
}

void CutsceneContinueIndicator::Place(const Bubble& bubble)
{
  // The tail and the trail of a thought hang below the ellipse's middle and the
  // text's corners lie on the ellipse, so a sign whose lower corner touches the
  // ellipse at 45 degrees up covers neither. The speaker's side stays on
  // screen where the camera follows the speaker.
  const QRectF balloon = bubble.GetBalloonRect();
  const double k = std::sqrt(0.5);
  const QPointF touch(k * balloon.width() / 2, -k * balloon.height() / 2);
  const bool speakerOnTheRight = bubble.scenePos().x() >= balloon.center().x();
  for (QGraphicsPixmapItem* frame : m_frames)
  {
    const QSizeF size = frame->boundingRect().size();
    const double left = speakerOnTheRight ? balloon.center().x() + touch.x()
                                          : balloon.center().x() - touch.x() - size.width();
    frame->setPos(left, balloon.center().y() + touch.y() - size.height());
  }
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
