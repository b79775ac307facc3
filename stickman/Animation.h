#pragma once

#include "common/GlobalConstants.h"
#include "stickman/Posture.h"

#include <QList>
#include <QMap>
#include <QMetaType>
#include <QPointF>

/// A sequence of postures shown one per game tick, with an optional key frame
/// (the moment the action takes effect), an end posture and a displacement.
class Animation
{
public:
  Animation() = default;

  const QList<Posture>& GetPostures() const { return m_postures; }
  /// Null when \a index is out of range.
  const Posture* GetPostureAt(int index) const;
  int GetDurationMilliseconds(int tickIntervalMs = bv::TickIntervalMs) const;

  /// A static posture of the same stickman (not owned); null when none.
  Posture* GetEndPosture() const { return m_endPosture; }
  void SetEndPosture(Posture* posture) { m_endPosture = posture; }

  /// How far the whole figure has moved at the end, in its unscaled drawing pixels.
  QPointF GetOffset() const { return m_offset; }
  void SetOffset(double dx, double dy) { m_offset = QPointF(dx, dy); }

  bool HasKeyFrame() const { return m_hasKeyFrame; }
  int GetKeyFrame() const { return m_keyFrame; }
  void SetKeyFrame(int frame);
  void ResetKeyFrame() { m_hasKeyFrame = false; }

  void ClearPostures() { m_postures.clear(); }
  void AddPosture(const Posture& posture) { m_postures.append(posture); }
  void SetPostures(const QList<Posture>& postures) { m_postures = postures; }
  void PopPosture();
  void Revert();
  void SwapLimbs(LimbsSwapType type);
  /// Inserts the middle posture between every two neighbours (and between the
  /// end posture and the first one, when there is an end posture).
  void AddIntermediatePostures();

  /// A new animation owned by the caller, its postures on the mapped joints and
  /// its end posture mapped through \a postures (null when not found).
  Animation* Translate(const QMap<const Joint*, Joint*>& joints,
                       const QMap<const Posture*, Posture*>& postures) const;

private:
  QList<Posture> m_postures;
  Posture* m_endPosture = nullptr;
  QPointF m_offset;
  int m_keyFrame = 0;
  bool m_hasKeyFrame = false;
};

Q_DECLARE_METATYPE(Animation*)
