#pragma once

#include "world/Object.h"

#include <box2d/b2_math.h>

#include <QList>
#include <QPointF>
#include <QString>

/// A bomb: its one-second fuse burns while it lies or flies free (it has a
/// body); then 32 particles fly out for half a second, killing the stickmen
/// and damaging the doors they hit, a flash swells and fades where it burst,
/// and the bomb is gone.
class Bomb : public Object
{
  Q_OBJECT

public:
  /// How many particles an explosion sends out.
  static constexpr int ParticleCount = 32;

  Bomb(const QString& name, QObject* parent);
  ~Bomb() override;

  void Advance() override;
  /// Records the hit; it takes effect in the next Advance (the world is locked now).
  void OnStickmanHit(b2Body* body, Stickman* stickman, DrawingPrimitive* part) override;
  void OnDoorHit(b2Body* body, Door* door, const QPointF& point) override;

  bool IsExploded() const { return m_exploded; }
  /// Seconds left before the explosion.
  double GetFuse() const { return m_fuse; }
  /// The flying particles' bodies; empty before and after the explosion.
  QList<b2Body*> GetParticleBodies() const;
  /// The flash of the explosion, owned by the bomb; null before and after it.
  const QGraphicsItem* GetBlast() const { return m_blast; }

private:
  struct ParticleInfo
  {
    /// Both owned by the bomb.
    b2Body* body = nullptr;
    QGraphicsItem* item = nullptr;
  };

  struct HitInfo
  {
    b2Body* body = nullptr;
    /// The particle's momentum when it hit, kg m/s.
    b2Vec2 impulse;
    Stickman* stickman = nullptr;
    QString partName;
    Door* door = nullptr;
    /// Scene pixels; door hits only.
    QPointF point;
  };

  void explode();
  /// Records the stickmen the particles passed through in the last step.
  void sweepParticles();
  void processStickmanHit(const HitInfo& hit);
  void processDoorHit(const HitInfo& hit);
  bool hasHit(const b2Body* body) const;
  /// Takes the hits that \a matches accepts off the list and destroys their particles.
  template <typename Predicate>
  QList<HitInfo> takeHits(Predicate matches);
  void destroyParticle(b2Body* body);
  void destroyAllParticles();
  void showBlast(const QPointF& centre);
  void removeBlast();

  bool m_exploded = false;
  double m_fuse = 1.0;
  double m_explosionTime = 0;
  QList<ParticleInfo> m_particles;
  QList<HitInfo> m_hits;
  QGraphicsItem* m_blast = nullptr;
};
