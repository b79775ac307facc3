#pragma once

#include "common/Direction.h"
#include "common/Material.h"

#include <QPixmap>
#include <QPointF>
#include <QRectF>

class Object;
class QGraphicsPixmapItem;
class Scene;
class b2Body;

/// A door of the level: a picture that blocks the way with a thin static body
/// while closed. A key opens it (it swings open in 1.5 s); cold weapons and
/// bomb particles damage it until it breaks into a loose fragment.
class Door
{
public:
  /// Sound types; -1 means no sound.
  struct Sounds
  {
    int open = -1;
    int close = -1;
    int hit = -1;
    int smash = -1;
  };

  Door() = default;
  ~Door();
  Door(const Door&) = delete;
  Door& operator=(const Door&) = delete;

  /// Adds the closed picture to \a scene with its top-left corner at \a pos
  /// (pixels) and builds the obstacle. Once, after construction.
  void Init(Scene* scene, const QPixmap& opened, const QPixmap& closed, QPointF pos, const Sounds& sounds,
            const Material& material);
  /// Starts swinging open; the way is free at once. Nothing when open or opening.
  void Open();
  /// Once per scene tick: the opening animation.
  void Advance();
  /// Takes \a damage off the health (1.0 when built). When the health runs out,
  /// the door breaks into a loose fragment at its place, the closed picture
  /// mirrored when the blow came from the right (\a direction Left); the caller
  /// pushes it. Returns that fragment (owned by the scene), or null while the
  /// door holds. A broken door takes no more damage.
  Object* TakeDamage(double damage, Direction direction);
  /// The bottom centre of the picture, pixels.
  QPointF GetGroundPos() const;

  bool IsClosed() const;
  bool IsBroken() const { return m_broken; }
  /// Degrees: 90 closed, 0 open.
  double GetAngle() const { return m_angle; }
  double GetHealth() const { return m_health; }
  const Sounds& GetSounds() const { return m_sounds; }
  const Material& GetMaterial() const { return m_material; }
  QGraphicsPixmapItem* GetItem() const { return m_item; }
  /// The obstacle; null while the door is open, opening or broken.
  b2Body* GetBody() const { return m_body; }

  /// The pictures of a door whose level names none: a pencil sketch of a
  /// plank door, closed and swung open.
  static QPixmap PencilClosedPicture();
  static QPixmap PencilOpenedPicture();

private:
  /// The obstacle's rectangle in the item's frame, pixels.
  QRectF obstacleRect() const;
  void createObstacle();
  void removeObstacle();

  static constexpr double ClosedAngle = 90.0;
  static constexpr double OpeningDurationMs = 1500.0;
  static constexpr double PixmapSwitchAngle = 55.0;
  static constexpr double ShearFactor = 0.4;

  QGraphicsPixmapItem* m_item = nullptr;
  Scene* m_scene = nullptr;
  QPixmap m_closedPixmap;
  QPixmap m_openedPixmap;
  double m_angle = ClosedAngle;
  bool m_opening = false;
  bool m_broken = false;
  double m_health = 1.0;
  Sounds m_sounds;
  Material m_material;
  b2Body* m_body = nullptr;
};
