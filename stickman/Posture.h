#pragma once

#include <QList>
#include <QMap>
#include <QPair>
#include <QPointF>
#include <QString>

class QXmlStreamWriter;
class Stickman;

/// A named point of a stickman's skeleton, in the stickman's local pixels.
/// Owned by its stickman; only applying a posture moves it.
struct Joint
{
  QString name;
  QPointF position;
};

enum LimbsSwapType
{
  SwapLegs = 0,
  SwapArms = 1,
  SwapArmsAndLegs = 2
};

/// Positions of some joints of one stickman at one moment. A value: copies
/// refer to the same joints.
class Posture
{
public:
  using Element = QPair<Joint*, QPointF>;

  Posture() = default;

  /// A joint may be added twice; look-ups then find the first element.
  void AddJointPosition(Joint* joint, const QPointF& position);
  /// Changes the first element of \a joint; nothing when it is absent.
  void SetJointPosition(Joint* joint, const QPointF& position);
  /// (0, 0) when \a joint is absent.
  QPointF GetJointPosition(const Joint* joint) const;
  const QList<Element>& GetElements() const { return m_elements; }

  /// Moves the joints to the posture's positions.
  void Apply() const;
  void Offset(double dx, double dy);
  void Clear();
  /// Exchanges the positions of the left and right limbs' joints (found by name).
  void SwapLimbs(LimbsSwapType type);

  bool operator==(const Posture& other) const;
  bool operator!=(const Posture& other) const { return !(*this == other); }

  /// A new posture owned by the caller; joints missing from \a joints become null.
  Posture* Translate(const QMap<const Joint*, Joint*>& joints) const;
  /// A new posture owned by the caller, on the joints of \a stickman of the same
  /// names; elements whose joint name \a stickman lacks are dropped.
  Posture* Translate(const Stickman& stickman) const;

  void WriteJointPositions(QXmlStreamWriter& writer) const;

private:
  QList<Element> m_elements;
};

/// \a count postures evenly spaced strictly between \a from and \a to, on the
/// joints of \a from; none when \a count < 1.
QList<Posture> CalculateIntermediatePostures(const Posture& from, const Posture& to, int count);
Posture CalculateIntermediatePosture(const Posture& from, const Posture& to);
