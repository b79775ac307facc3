#pragma once

#include "common/Direction.h"
#include "stickman/Ragdoll.h"

#include <QColor>
#include <QGraphicsItemGroup>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <memory>

class Animation;
class DrawingPrimitive;
class Grabable;
class JumpManager;
class MoveConstraints;
class Posture;
class b2World;
struct Joint;
struct Material;

/// Base names of the stickman's postures; the stored names carry a "-right"
/// or "-left" suffix (and an item name prefix for item-specific variants).
namespace PostureNames
{
extern const QString Standing;
extern const QString Climbing;
} // namespace PostureNames

/// Base names of the stickman's animations.
namespace AnimationNames
{
extern const QString Step;
extern const QString ClimbUp;
extern const QString ClimbDown;
extern const QString WholeJump;
extern const QString JumpStart;
extern const QString Land;
extern const QString FallingDown;
} // namespace AnimationNames

/// The articulated stick figure. Its position is the point on the ground
/// between its feet; it plays one animation posture per game tick, asks its
/// move constraints before stepping or jumping and leaves its falls to its
/// jump manager.
class Stickman : public QObject, public QGraphicsItemGroup
{
  Q_OBJECT

public:
  /// Adds itself to \a scene when it is not null. \a constraints is not owned;
  /// without it every move is allowed.
  Stickman(QGraphicsItem* parent, QGraphicsScene* scene, MoveConstraints* constraints);
  ~Stickman() override;

  // The figure and its file.

  /// False, changing nothing, when the file cannot be parsed or lacks a
  /// required element.
  bool Load(const QString& fileName);
  /// Makes this (fresh) stickman a copy of \a other's figure.
  void Load(const Stickman* other);
  bool Save(const QString& fileName) const;

  /// A new empty animation owned by the stickman; null when the name exists.
  Animation* AddAnimation(const QString& name);
  bool RemoveAnimation(const QString& name);
  bool RenameAnimation(const QString& from, const QString& to);
  QStringList GetAnimationNames() const;
  /// The animation stored under \a name, else the variant for the held item,
  /// else the ordinary variant (see the file's naming scheme); null when none.
  Animation* GetAnimation(const QString& name, bool& itemSpecific) const;
  Animation* GetAnimation(const QString& name) const;

  // Building a figure (tools). Everything added is owned by the stickman.

  Joint* AddJoint(const QString& name);
  /// The first joint of that name; null when none.
  Joint* FindJoint(const QString& name) const;
  const QList<Joint*>& GetJoints() const { return m_joints; }
  /// Takes ownership; appended to the drawing order.
  void AddDrawingPrimitive(DrawingPrimitive* primitive);
  const QList<DrawingPrimitive*>& GetDrawingPrimitives() const { return m_drawing; }
  /// A new empty static posture; null when the name exists.
  Posture* AddStaticPosture(const QString& name);
  /// Null when none has that name.
  Posture* GetStaticPosture(const QString& name) const;
  QStringList GetStaticPostureNames() const;
  void SetKeyPoints(Joint* holder, Joint* holderElbow);
  Joint* GetHolderJoint() const { return m_holder; }
  Joint* GetHolderElbowJoint() const { return m_holderElbow; }
  void AddRagdollJoint(const Ragdoll::JointInfo& joint);
  const QList<Ragdoll::JointInfo>& GetRagdollJoints() const { return m_ragdollJoints; }

  QColor GetColor() const;
  void SetColor(const QColor& color);

  /// The standing figure's rectangle in local coordinates, measured when the
  /// figure was loaded; animations do not change it.
  QRectF boundingRect() const override;

  // Wiring.

  /// Takes ownership, deleting the previous manager.
  void SetJumpManager(JumpManager* jumpManager);
  void StartCollisionsDetection(b2World* world);
  void StopCollisionsDetection();
  /// A ragdoll of the current pose in \a world, owned by the caller.
  Ragdoll* CreateRagdoll(const Material& material, b2World* world) const;

  // Commands.

  void Move(Direction direction);
  void Jump();
  void Land();
  /// \a horizontalVelocity in metres per second, never negative.
  void StartFallingDown(double horizontalVelocity);
  void ClimbUp();
  void ClimbDown();
  void GrabLadder();
  void LeaveLadder();
  void TurnAround();
  void MoveTo(const QPointF& position);
  /// Starts \a name when idle; chains it after the current animation when
  /// more than half of that has been shown; otherwise does nothing.
  void RunAnimation(const QString& name);
  /// Plays the postures shown so far backwards.
  void RevertCurrentAnimation();
  void SetKilled() { m_killed = true; }

  virtual void GrabItem(Grabable* item);
  virtual void DropItem();
  /// Lets go of the item without changing the posture.
  virtual void ReleaseItem();

  // Queries.

  Direction GetFacingDirection() const { return m_direction; }
  bool IsKilled() const { return m_killed; }
  bool IsOnLadder() const { return m_onLadder; }
  bool IsRightLegLeading() const { return m_rightLegLeads; }
  bool IsRightHandLeading() const { return m_rightHandLeads; }
  /// Not owned; null when nothing is held.
  Grabable* GetGrabbedItem() const { return m_item; }
  /// Null when idle.
  Animation* GetCurrentAnimation() const { return m_currentAnimation; }
  QString GetCurrentAnimationName() const { return m_currentAnimationName; }
  int GetCurrentFrame() const { return m_currentFrame; }

  bool IsStepInProgress() const;
  bool IsJumpStartInProgress() const;
  bool IsLandingInProgress() const;
  bool IsClimbUpInProgress() const;
  bool IsClimbDownInProgress() const;
  bool IsFallingDownFromJump() const;
  bool IsJumpInProgress() const;
  /// Where the figure really is during a displacing animation (scene pixels).
  QPointF GetActualPos() const;
  QSizeF GetActualSize() const;
  QRectF GetActualBoundingRect() const;
  double GetLadderUpperHandY() const;

  /// Moves the held item to the hand, then re-lays every primitive out.
  void UpdateCurrentPosture();

  /// One game tick; phase 0 does nothing.
  void advance(int phase) override;

public slots:
  void Use();

signals:
  void animationStarted(QString animationName, Animation* animation);
  void animationKeyMoment(QString animationName, Animation* animation);
  void animationFinished(QString animationName, Animation* animation);
  void stepMade(QPointF newPos);
  void jumpMade(QPointF newPos);
  void moved(QPointF newPos);

private:
  void postLoadInitialization();
  void updateSpecialPostures();
  QString variantSuffix() const;
  Posture* standingPosture() const;
  void makeStandingPosture();
  void updateGrabbedItem();
  void flattenDrawingLayers();
  void restoreDrawingLayers();
  void startAnimation(const QString& name);
  void finishAnimation();
  /// Stops the current and the queued animation where they are, unfinished.
  void dropAnimation();
  QPointF scaledOffset(const Animation* animation) const;

  // The figure.
  QList<Joint*> m_joints;
  QList<DrawingPrimitive*> m_drawing;
  QMap<QString, Posture*> m_staticPostures;
  QMap<QString, Animation*> m_animations;
  QList<Ragdoll::JointInfo> m_ragdollJoints;
  Joint* m_holder = nullptr;
  Joint* m_holderElbow = nullptr;
  Posture* m_standingRight = nullptr;
  Posture* m_standingLeft = nullptr;
  Posture* m_climbingRight = nullptr;
  Posture* m_climbingLeft = nullptr;
  QRectF m_figureRect;

  // The living figure.
  Direction m_direction = Right;
  bool m_rightLegLeads = false;
  Grabable* m_item = nullptr;
  Animation* m_currentAnimation = nullptr;
  QString m_currentAnimationName;
  QPointF m_actualOffset;
  QString m_nextAnimationName;
  int m_currentFrame = 0;
  std::unique_ptr<Animation> m_revertedAnimation;
  MoveConstraints* m_constraints;
  JumpManager* m_jumpManager = nullptr;
  bool m_onLadder = false;
  bool m_rightHandLeads = true;
  bool m_killed = false;
};
