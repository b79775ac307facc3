#pragma once

#include <QColor>
#include <QPointF>

/// Tuning values of the whole game. Lengths ending in Px are scene pixels, in M
/// metres; names ending in Sec are seconds. Impulses are Box2D vectors whose x
/// component the user mirrors by the facing direction.
namespace bv
{
inline constexpr int PixelsPerMeter = 100;
inline constexpr double MetersPerPixel = 0.01;
inline constexpr int TickIntervalMs = 16;
inline constexpr double TickIntervalSec = 0.016;
inline constexpr int PhysicsVelocityIterators = 8;
inline constexpr int PhysicsPositionIterators = 3;
inline constexpr double FreeFallAcceleration = 9.8;
inline constexpr double LinearDampling = 0.0;
inline constexpr double AngularDampling = 0.01;
inline constexpr double MinBounceApproachingVelocity = 0.75;
inline constexpr int RagdollFilterGroup = -1;
inline constexpr int BombParticlesFilterGroup = -2;
inline constexpr double StickmanHeightPx = 180.0;
inline constexpr double StickmanHeightM = 1.8;
inline constexpr double StickmanLimbsWidth = 20.0;
inline constexpr double StickmanContourWidth = 3.0;
inline constexpr double HandReachDistance = 0.55 * PixelsPerMeter;
inline constexpr double AIObjectsSearchRadius = 300.0;
inline constexpr double LadderCleatsDistance = 33.0;
inline constexpr int CleatsDistanceBetweenStickmanUpperHandAndLowerFoot = 5;
inline constexpr double MaxStairHeightPx = 80.0;
inline constexpr double MaxStairHeightM = 0.8;
inline constexpr double MinStairWidthPx = 100.0;
inline constexpr double MinStairWidthM = 1.0;
inline constexpr double ApproximationBoxMinLength = 0.1;
inline constexpr double ApproximationBoxHeight = 0.05;
inline constexpr double DoorWidth = 10.0;
inline constexpr QPointF DoorSmashImpulse{0.4, 0.0};
inline constexpr QPointF ColdWeaponKillImpulse{0.5, 0.0};
inline constexpr QPointF FirearmKillImpulse{3.0, 0.0};
inline constexpr double ColdWeaponReachCoefficient = 0.85;
inline constexpr double RecognitionTolerance = 1.5;
inline constexpr double MinShrinkingStep = 0.01;
inline constexpr double SceneBlurRadius = 10.0;
inline constexpr double BubbleTextDelaySec = 5.0;
inline constexpr double BubbleAppearIntervalSec = 0.2;
inline constexpr double SecondsToHideSubtitle = 10.0;
inline constexpr double SecondsToAutoRestart = 2.0;
inline constexpr double SecondsToTurnPage = 1.0;
inline constexpr double SecondsToFitMaximumSize = 1.0;
inline constexpr double SecondsToVanish = 1.0;

extern const QColor PlayerStickmanColor;
extern const QColor EnemyStickmanColor;

/// Layers of the graphics scene, bottom to top: consecutive numbers handed out
/// by \a zValue when the library is loaded.
extern int zValue;
extern const double StickmanZValue;
extern const double ObjectsZValue;
extern const double ForegroundLayersZValue;
extern const double DarknessLayerZValue;
extern const double DrawingZValue;
extern const double CuesZValue;
extern const double PageCurlZValue;
extern const double HudZValue;
} // namespace bv
