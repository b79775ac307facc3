#pragma once

#include "flow/CutsceneImpl.h"

#include <QImage>
#include <QPointF>
#include <QString>

class QGraphicsPixmapItem;
class Ragdoll;
class Stickman;
class b2Body;

/// An eagle swoops down on a circle whose lowest point is the player's neck,
/// grabs the player there and carries it off, out of the top of the scene.
class EagleAbductionCutscene : public CutsceneImpl
{
public:
  /// A null \a eagleImage is loaded from \a picturePath (empty: the data
  /// directory's "eagle.png") when the cutscene starts.
  explicit EagleAbductionCutscene(const QImage& eagleImage, const QString& picturePath = QString());
  ~EagleAbductionCutscene() override;

  Cutscene* Clone() const override;
  void Start(Scene* scene) override;
  void Advance() override;
  /// Writes the attribute "special".
  void Save(QXmlStreamWriter& writer) const override;

  /// Where the eagle's talons are at \a angle (degrees; 270 is the lowest point), scene pixels.
  QPointF GetEaglePosition(double angle) const;
  /// The point the eagle grabs (scene pixels), valid once started with a player.
  QPointF GetGrabPoint() const { return m_grab; }

private:
  QImage m_eagleImage;
  QString m_picturePath;
  /// Not owned.
  Stickman* m_player = nullptr;
  /// Owned while the cutscene runs.
  QGraphicsPixmapItem* m_eagleItem = nullptr;
  /// Owned by the scene; null until the grab.
  Ragdoll* m_ragdoll = nullptr;
  b2Body* m_neck = nullptr;
  QPointF m_grab;
  /// The point of the picture that holds the stickman.
  QPointF m_handOffset;
  /// Pixels.
  double m_radius = 0;
  /// Degrees.
  double m_endAngle = 0;
  double m_angleStep = 0;
  double m_angle = 0;
};
