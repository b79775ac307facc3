#pragma once

#include "flow/Cue.h"
#include "stickman/MoveConstraints.h"
#include "world/GraphicsItemVanisher.h"
#include "world/Level.h"
#include "world/ObjectCategories.h"

#include <QColor>
#include <QGraphicsScene>
#include <QImage>
#include <QLineF>
#include <QList>
#include <QMap>
#include <QPixmap>
#include <QPointer>
#include <QPointF>
#include <QRectF>
#include <QString>

class Bubble;
class ComputerControlledStickman;
class ContactListener;
class Cutscene;
class CutsceneContinueIndicator;
class DarknessLayer;
class Door;
class HUD;
class InteractiveItem;
class Ladder;
class LiquidSimulator;
class Materials;
class Object;
class ObjectCreator;
class PageCurl;
class QGraphicsPathItem;
class QGraphicsPixmapItem;
class Ragdoll;
class SoundManager;
class Stickman;
class b2World;

/// The game world of one level: the Box2D world (metres) and everything
/// visible as graphics items (pixels, 100 per metre, y down in both). Filled
/// by Init, driven by advance once per 16 ms tick. Owns everything in the
/// level and destroys it on clear and before each new level.
class Scene : public QGraphicsScene, public MoveConstraints
{
  Q_OBJECT

public:
  /// The level picture drawn behind everything, as pixmaps: the painter keeps
  /// them where it draws (on the graphics card for OpenGL) from one frame to the next.
  struct BackgroundLayer
  {
    QRectF rect;
    QPixmap picture;
    QPixmap blurredPicture;

    void Set(const QPointF& pos, const QImage& image);
    void Reset();
  };

  /// A level picture drawn in front of the stickmen, sharp or blurred.
  struct ForegroundLayer
  {
    /// Both owned by the graphics scene.
    QGraphicsPixmapItem* sharp = nullptr;
    QGraphicsPixmapItem* blurred = nullptr;

    void Set(const QPointF& pos, const QImage& image, Scene* scene);
  };

  struct GroundRegion
  {
    /// Pixels.
    QRectF rect;
    int footstepsSound = -1;
    QList<Door*> doors;
  };

  /// Whether Box2D's single precision can hold a body at \a metres.
  static bool FitsWorld(const QPointF& metres);

  explicit Scene(QObject* parent);
  ~Scene() override;

  // Life cycle.

  /// Builds \a level, which must outlive the scene's use of it (its cutscenes
  /// are shared). \a materials, \a sounds and \a stickmanTemplate are not owned.
  void Init(const Level& level, const Materials* materials, SoundManager* sounds, const Stickman* stickmanTemplate);
  void Pause();
  void Resume();
  bool IsPaused() const { return m_paused; }
  /// Gives every stickman the object it holds when the level starts; call after Init.
  void LoadObjectsForStickmen(ObjectCreator* creator);
  /// Owned by the scene; recreated by every clear.
  b2World* GetWorld() const { return m_world; }
  /// Not owned; null before Init.
  const Materials* GetMaterials() const { return m_materials; }
  SoundManager* GetSoundManager() const { return m_soundManager; }

  // Registry.

  /// Takes ownership. With \a moveOutsideStaticBodies the object is first
  /// pushed out of the ground it overlaps.
  void AddObject(Object* object, bool moveOutsideStaticBodies);
  /// Forgets the object and fades its item out; the object is deleted with it.
  void VanishObject(Object* object);
  /// Fades the item out over a second and deletes it.
  void VanishItem(QGraphicsItem* item);
  void AddItemToBlur(QGraphicsItem* item);
  /// The stickman's ragdoll made of body material, owned by the scene.
  Ragdoll* CreateRagdoll(Stickman* stickman);
  /// Takes ownership; \a pos in pixels.
  void AddNpcStickman(ComputerControlledStickman* stickman, const QPointF& pos, const QColor& color);
  /// The player's stickman at \a pos (pixels), owned by the scene.
  Stickman* AddPlayerStickman(const QPointF& pos);
  /// Takes ownership.
  void AddLadder(Ladder* ladder);
  void RemoveInteractiveItem(InteractiveItem* item);
  void VanishInteractiveItem(InteractiveItem* item);
  /// Null when no item of the scene has that id (any more).
  InteractiveItem* FindInteractiveItemById(int id) const;
  const QList<InteractiveItem*>& GetInteractiveItems() const { return m_interactiveItems; }
  /// Null before the first Init.
  const LiquidSimulator* GetLiquidSimulator() const { return m_liquidSimulator; }
  void MakeNpcsPeaceful(bool peaceful);
  void MoveObjectOutsideStaticBodies(Object* object);

  // Queries.

  /// Null when the level has none and after its death.
  Stickman* GetPlayer() const { return m_player; }
  /// The finish area whose conditions the player met in this level; null before,
  /// valid until the next Init. The last level's area leads nowhere (empty next level).
  const Level::FinishArea* GetFinishAreaReached() const
  {
    return m_finishAreaReached < 0 ? nullptr : &m_finishAreas[m_finishAreaReached];
  }
  const QList<ComputerControlledStickman*>& GetNpcs() const { return m_npcs; }
  const QList<Object*>& GetObjects() const { return m_objects; }
  const QList<Ragdoll*>& GetRagdolls() const { return m_ragdolls; }
  /// Every door of the level, broken ones included.
  const QList<Door*>& GetDoors() const { return m_doors; }
  /// The regions the game's stickmen walk on, with the doors standing on each.
  const QList<GroundRegion>& GetGroundRegionsWithDoors() const { return m_groundRegions; }
  /// Non-player stickmen killed in this level.
  int GetKilledCount() const { return m_killedCount; }
  bool IsBlurred() const { return m_blurred; }
  /// Pixel rectangles of every static body.
  const QList<QRectF>& GetStaticRects() const { return m_staticRects; }
  QList<Object*> GetObjectsWithinStickmanReach(const Stickman* stickman) const;
  /// What the pick-up key would give \a stickman: the first grabbable object
  /// within reach other than the one it holds; null when none.
  Object* GetObjectToPickUp(const Stickman* stickman) const;
  /// The pencil loop around the object the player would pick up; hidden while
  /// there is none. Owned by the scene; null before Init.
  QGraphicsPathItem* GetPickUpMark() const { return m_pickUpMark; }
  /// \a radius in pixels either side of the stickman's centre.
  QList<Object*> GetObjectsNearStickman(const Stickman* stickman, double radius) const;
  QList<QRectF> GetGroundRegions() const;
  /// The top edge of each ground region, left to right.
  QList<QLineF> GetGroundLines() const;
  /// The top edge of the ground region \a pos stands on (within 10 px); a null line when none.
  QLineF GetGroundAtPos(const QPointF& pos) const;
  QList<Ladder*> GetLaddersIntersectingRect(const QRectF& rect) const;
  QList<Ladder*> GetLaddersWithinStickmanReach(const Stickman* stickman) const;
  Ladder* GetLadderToClimb(const Stickman* stickman) const;
  Ladder* GetLadderBeingClimbed(const Stickman* stickman) const;
  void SetLadderBeingClimbed(const Stickman* stickman, Ladder* ladder);
  void ResetLadderBeingClimbed(const Stickman* stickman);
  /// Owned by the scene.
  HUD* GetHUD() const { return m_hud; }
  /// Null in a lit level.
  DarknessLayer* GetDarknessLayer() const { return m_darknessLayer; }
  /// 0 (lit) .. 1 (dark).
  double GetGlobalDarknessLevel() const;
  /// Without darkness a level above 0 brings it; otherwise clamped to 0..1.
  void SetGlobalDarknessLevel(double level);
  /// Lights the level for good: the darkness goes and the pen draws black again.
  void RemoveDarkness();

  // Stickman rules.

  bool CanStickmanStep(const Stickman* stickman, double distance, QPointF& offset) const override;
  bool CanStickmanJump(const Stickman* stickman, double length, double height) const override;
  /// Whether moving \a stickman by \a offset (pixels) would put more of its
  /// trunk into static ground than there is now.
  bool WouldSinkIntoStaticGround(const Stickman* stickman, const QPointF& offset) const;
  /// The single place where a stickman dies. \a impulse (kg m/s) goes to the
  /// ragdoll element named \a elementName; a non-zero \a velocity (m/s) is given
  /// to every ragdoll body. Null when the stickman was already dead.
  Ragdoll* KillStickman(Stickman* stickman, QPointF impulse, const QString& elementName,
                        ObjectCategory::Type killer, QPointF velocity);

  // Presentation.

  /// Positions in pixels; 0 when nothing was started.
  unsigned PlaySound(int type, const QPointF& pos, double volume, bool loop);
  unsigned PlaySound(const QString& name, const QPointF& pos, double volume, bool loop);
  void StopSound(unsigned source);
  void MoveSoundSource(unsigned source, const QPointF& pos);

  /// Over the player, over the npc of that name, or as a HUD message.
  void DisplayCue(const Cue& cue);
  /// A bubble over \a stickman; the continue indicator appears after \a delay seconds.
  void DisplayCue(const Stickman* stickman, const QString& text, Cue::Type type, double delay);
  /// A thought of the player's that goes by itself.
  void DisplayComment(const QString& text);
  void DisplayObjectComment(const QString& name);
  void ClearCue();
  /// Plays a copy of \a cutscene, replacing the one playing.
  void PlayCutscene(Cutscene* cutscene);

  void Blur();
  void Unblur();
  void EnterZoomMode();
  void ExitZoomMode();
  /// \a pos in pixels.
  void TurnThePage(const QPixmap& page, const QPointF& pos);

public slots:
  void clear();
  /// One 16 ms tick.
  void advance();
  void advancePhysicsOnly();
  void onStickmanLand(QPointF landingPos);
  void SkipCutsceneCue();

signals:
  void playerKilled();
  void vipKilled();
  void levelFinished(QString nextLevel);
  void cutsceneStarted();
  void cutsceneFinished();
  void pageTurnFinished();

protected:
  void drawBackground(QPainter* painter, const QRectF& rect) override;

private slots:
  void onStickmanStep(QPointF newPos);
  void onPlayerStickmanMoved(QPointF newPos);
  void checkIntermezzoConditions(Object* drawnObject);
  void checkFinishConditions(QPointF playerPos);

private:
  void resetWorld();
  void destroyWorld();
  void forgetLadderOf(const Object* object);
  /// The first ground region \a pos stands on; null when none.
  const GroundRegion* groundRegionAt(const QPointF& pos) const;
  void initStickman(Stickman* stickman, const QPointF& pos, const QColor& color);
  void addLiquid(const Level& level, const Level::LiquidRegion& liquid);
  void addGround(const Level& level, const Level::GroundRegion& ground);
  void addStaticObject(const Level& level, const Level::StaticObject& staticObject);
  void addDoor(const Level& level, const Level::Door& door);
  void addNpc(const Level& level, const Level::NpcInfo& npc);
  void initDarkness(const Level& level);
  void addInteractiveItem(const Level::InteractiveItem& info);
  QList<Object*> objectsInRect(const QRectF& rect) const;
  void blurItem(QGraphicsItem* item);
  void setScalableForeground(bool scalable);
  double getDarknessLevel(const QPointF& pos) const;
  /// Keeps the bubble over its speaker and whole on screen.
  void placeCueBubble();
  void updatePickUpMark();

  b2World* m_world = nullptr;
  bool m_paused = true;
  bool m_blurred = false;
  QList<QGraphicsItem*> m_itemsToBlur;
  BackgroundLayer m_background;
  QList<ForegroundLayer> m_foregroundLayers;
  QList<Object*> m_objects;
  QList<ComputerControlledStickman*> m_npcs;
  int m_killedCount = 0;
  QMap<Stickman*, QString> m_objectsForStickmen;
  QList<Ragdoll*> m_ragdolls;
  Stickman* m_player = nullptr;
  const Materials* m_materials = nullptr;
  SoundManager* m_soundManager = nullptr;
  QList<GroundRegion> m_groundRegions;
  QList<Level::IntermezzoCutscene> m_intermezzoCutscenes;
  QList<Level::FinishArea> m_finishAreas;
  QList<QRectF> m_staticRects;
  QList<Door*> m_doors;
  QList<Ladder*> m_ladders;
  QMap<const Stickman*, Ladder*> m_laddersBeingClimbed;
  GraphicsItemVanisher m_vanisher;
  ContactListener* m_contactListener = nullptr;
  HUD* m_hud = nullptr;
  QString m_nextLevel;
  int m_finishAreaReached = -1;
  Cutscene* m_cutscene = nullptr;
  Bubble* m_cueBubble = nullptr;
  /// Whom the bubble follows; null when it went.
  QPointer<const Stickman> m_cueSpeaker;
  CutsceneContinueIndicator* m_continueIndicator = nullptr;
  QGraphicsPathItem* m_pickUpMark = nullptr;
  /// The scene rectangle the mark was drawn around.
  QRectF m_pickUpMarkRect;
  const Stickman* m_stickmanTemplate = nullptr;
  DarknessLayer* m_darknessLayer = nullptr;
  PageCurl* m_pageCurl = nullptr;
  LiquidSimulator* m_liquidSimulator = nullptr;
  QList<InteractiveItem*> m_interactiveItems;
};
