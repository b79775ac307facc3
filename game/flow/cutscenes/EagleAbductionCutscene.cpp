#include "flow/cutscenes/EagleAbductionCutscene.h"

#include "common/ConvertUtils.h"
#include "common/FastTrigonometry.h"
#include "common/FilePaths.h"
#include "common/GlobalConstants.h"
#include "stickman/Ragdoll.h"
#include "stickman/Stickman.h"
#include "world/Scene.h"

#include <box2d/b2_body.h>

#include <QGraphicsPixmapItem>
#include <QLoggingCategory>
#include <QXmlStreamWriter>

#include <cmath>

namespace
{
Q_LOGGING_CATEGORY(lcEagle, "bv.cutscene", QtInfoMsg)

constexpr double LinearSpeedMPerSec = 5.0;
constexpr double GrabAngle = 270.0;
constexpr double RadToDeg = 180.0 / M_PI;
} // namespace

EagleAbductionCutscene::EagleAbductionCutscene(const QImage& eagleImage, const QString& picturePath)
  : m_eagleImage(eagleImage)
  , m_picturePath(picturePath)
{
}

EagleAbductionCutscene::~EagleAbductionCutscene()
{
  delete m_eagleItem;
}

Cutscene* EagleAbductionCutscene::Clone() const
{
  return new EagleAbductionCutscene(m_eagleImage, m_picturePath);
}

void EagleAbductionCutscene::Start(Scene* scene)
{
  CutsceneImpl::Start(scene);
  if (m_eagleImage.isNull())
  {
    const QString path = m_picturePath.isEmpty() ? GetDataRootPath() + QStringLiteral("/eagle.png") : m_picturePath;
    if (!m_eagleImage.load(path))
    {
      qCDebug(lcEagle).nospace().noquote() << "Failed to load image \"" << path << '"';
      m_finished = true;
      return;
    }
  }
  m_player = scene->GetPlayer();
  if (!m_player)
  {
    qCDebug(lcEagle) << "No stickman to abduct";
    m_finished = true;
    return;
  }
  InitFastTrigonometry();

  // About the neck.
  m_grab = m_player->scenePos() - QPointF(0, 0.9 * bv::StickmanHeightPx);
  // The eagle comes in from the top of the scene, or from a metre above the
  // neck when the neck is nearer the top than that.
  const double h = std::max(m_grab.y(), double(bv::PixelsPerMeter));
  const double w = 5 * h;
  // A circle through the neck at its lowest point and through both entry points.
  m_radius = (w * w + h * h) / (2 * h);
  const double theta = std::asin((m_radius - h) / m_radius) * RadToDeg;
  m_endAngle = 360 - theta;
  m_angleStep = LinearSpeedMPerSec / px2m(m_radius) * bv::TickIntervalSec * RadToDeg;
  m_angle = 180 + theta;

  m_handOffset = QPointF(0.64 * m_eagleImage.width(), 0.86 * m_eagleImage.height());
  m_eagleItem = scene->addPixmap(QPixmap::fromImage(m_eagleImage));
  m_eagleItem->setShapeMode(QGraphicsPixmapItem::BoundingRectShape);
  m_eagleItem->setZValue(bv::StickmanZValue);
  m_eagleItem->setPos(GetEaglePosition(m_angle) - m_handOffset);
  m_ragdoll = nullptr;
  m_neck = nullptr;
}

QPointF EagleAbductionCutscene::GetEaglePosition(double angle) const
{
  return QPointF(m_grab.x() + m_radius * FastSafeCos(angle), m_grab.y() - m_radius * FastSafeSin(angle) - m_radius);
}

void EagleAbductionCutscene::Advance()
{
  if (m_finished)
    return;
  if (m_angle >= m_endAngle)
  {
    m_finished = true;
    delete m_eagleItem;
    m_eagleItem = nullptr;
    return;
  }
  if (!m_ragdoll && m_angle >= GrabAngle)
  {
    m_player->StopCollisionsDetection();
    m_ragdoll = m_scene->CreateRagdoll(m_player);
    const Ragdoll::Element* neck = m_ragdoll->FindElementByName(QStringLiteral("neck"));
    m_neck = neck ? neck->body : nullptr;
    m_player->hide();
  }
  m_angle += m_angleStep;
  const QPointF hand = GetEaglePosition(m_angle);
  m_eagleItem->setPos(hand - m_handOffset);
  if (!m_ragdoll)
    return;
  if (m_neck)
  {
    // Reaches the talons within one step; a moving body is awake.
    const b2Vec2 toHand = Point2Vec(px2m(hand)) - m_neck->GetPosition();
    m_neck->SetLinearVelocity(b2Vec2(toHand.x / float(bv::TickIntervalSec), toHand.y / float(bv::TickIntervalSec)));
    m_neck->SetAngularVelocity(0);
  }
  m_scene->advancePhysicsOnly();
  m_ragdoll->Advance();
}

void EagleAbductionCutscene::Save(QXmlStreamWriter& writer) const
{
  writer.writeAttribute(QStringLiteral("special"), QStringLiteral("eagle_abduction"));
}
