#include "world/Scene.h"

#include "audio/SoundManager.h"
#include "common/BodyUserData.h"
#include "common/ConvertUtils.h"
#include "common/FilePaths.h"
#include "common/GlobalConstants.h"
#include "common/GraphicsItemUserData.h"
#include "common/ImageOperations.h"
#include "flow/Cutscene.h"
#include "flow/CutsceneContinueIndicator.h"
#include "flow/DisappearingThinkBubble.h"
#include "flow/HUD.h"
#include "flow/PageCurl.h"
#include "flow/SayBubble.h"
#include "flow/ThinkBubble.h"
#include "stickman/Ragdoll.h"
#include "stickman/Stickman.h"
#include "world/BlurEffect.h"
#include "world/ComputerControlledStickman.h"
#include "world/ContactListener.h"
#include "world/DarknessLayer.h"
#include "world/Door.h"
#include "world/DrawingPen.h"
#include "world/EnemyStickman.h"
#include "world/InteractiveItem.h"
#include "world/Ladder.h"
#include "world/LiquidSimulator.h"
#include "world/Materials.h"
#include "world/Object.h"
#include "world/ObjectCreator.h"
#include "world/StickmanJumpManager.h"

#include <box2d/b2_body.h>
#include <box2d/b2_chain_shape.h>
#include <box2d/b2_fixture.h>
#include <box2d/b2_polygon_shape.h>
#include <box2d/b2_world.h>

#include <QCoreApplication>
#include <QFile>
#include <QGraphicsPathItem>
#include <QGraphicsPixmapItem>
#include <QLoggingCategory>
#include <QPainter>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace
{
Q_LOGGING_CATEGORY(lcScene, "bv.scene", QtInfoMsg)

// Positions ride on the ground within this many pixels of its top.
constexpr double GroundTolerancePx = 10.0;
// Farther out than this (metres) Box2D's single precision cannot hold a level.
constexpr double WorldLimitM = 1e6;
constexpr int ExtraCommentMaxLength = 256;
// The camera never shows more than a screen's height below a level: an object
// this far under it has fallen out and would fall for ever.
constexpr double FallenOutDepthPx = 1080.0;
// The width of a standing figure's head, body and legs, about a sixth of its height.
constexpr double StickmanTrunkWidthPx = 30.0;

bool fitsWorld(const QPointF& m)
{
  return std::isfinite(m.x()) && std::isfinite(m.y()) && std::abs(m.x()) < WorldLimitM &&
         std::abs(m.y()) < WorldLimitM;
}

bool fitsWorld(const QRectF& m)
{
  return fitsWorld(m.topLeft()) && fitsWorld(m.bottomRight());
}

QString levelName(const Level& level)
{
  return level.GetTitle().isEmpty() ? QStringLiteral("(untitled)") : level.GetTitle();
}

// The exact box of the fixture's shape under its body's transform, metres:
// without the skin Box2D puts around polygons and chains.
QRectF fixtureBox(const b2Fixture* fixture)
{
  const b2Shape* shape = fixture->GetShape();
  const b2Transform& transform = fixture->GetBody()->GetTransform();
  b2AABB box;
  shape->ComputeAABB(&box, transform, 0);
  for (int child = 1; child < shape->GetChildCount(); ++child)
  {
    b2AABB childBox;
    shape->ComputeAABB(&childBox, transform, child);
    box.Combine(childBox);
  }
  if (shape->GetType() != b2Shape::e_circle)
  {
    const b2Vec2 skin(shape->m_radius, shape->m_radius);
    box.lowerBound += skin;
    box.upperBound -= skin;
  }
  return AABB2Rect(box);
}

// The top edge of the first surface a foot can be put on.
class StandingSurfaceQuery : public b2QueryCallback
{
public:
  explicit StandingSurfaceQuery(const QPointF& stepPointM)
    : m_stepPoint(stepPointM)
  {
  }

  bool ReportFixture(b2Fixture* fixture) override
  {
    const b2Body* body = fixture->GetBody();
    if (body->GetType() == b2_kinematicBody || fixture->IsSensor() ||
        fixture->GetShape()->GetType() != b2Shape::e_polygon)
      return true;
    const bool dynamic = body->GetType() == b2_dynamicBody;
    // Only resting objects can be stepped on.
    if (dynamic && body->IsAwake())
      return true;
    const QRectF box = fixtureBox(fixture);
    if (std::abs(m_stepPoint.y() - box.top()) > bv::MaxStairHeightM)
      return true;
    if (dynamic && (box.width() < bv::MinStairWidthM || box.height() > bv::MaxStairHeightM))
      return true;
    // The highest surface within reach: a step drawn on the ground must win over
    // the ground under it, whatever order the broad phase reports them in.
    if (surface.isNull() || m2px(box.top()) < surface.y1())
      surface = QLineF(m2px(box.topLeft()), m2px(box.topRight()));
    return true;
  }

  QLineF surface;

private:
  QPointF m_stepPoint;
};

// Whether a static fixture rises above a height.
class ObstaclesQuery : public b2QueryCallback
{
public:
  explicit ObstaclesQuery(double heightLimitPx)
    : m_heightLimit(heightLimitPx)
  {
  }

  bool ReportFixture(b2Fixture* fixture) override
  {
    if (fixture->GetBody()->GetType() != b2_staticBody || fixture->IsSensor())
      return true;
    if (m2px(fixtureBox(fixture).top()) < m_heightLimit)
    {
      found = true;
      return false;
    }
    return true;
  }

  bool found = false;

private:
  double m_heightLimit;
};

// A light pencil, as a reader would circle something on a page.
const QColor PickUpMarkColor(70, 70, 90, 140);

// A loop drawn by hand around \a rect: a little wobbly, its end going past its start.
QPainterPath pencilLoop(const QRectF& rect)
{
  constexpr int Points = 48;
  constexpr double MinRadiusPx = 14, Start = 2.4, Overshoot = 0.5;
  const double rx = std::max(MinRadiusPx, rect.width() / M_SQRT2 + 6);
  const double ry = std::max(MinRadiusPx, rect.height() / M_SQRT2 + 6);
  QPainterPath path;
  for (int i = 0; i <= Points; ++i)
  {
    const double f = double(i) / Points;
    const double t = Start + f * (2 * M_PI + Overshoot);
    const double k = 1 + 0.035 * std::sin(3 * t + 1) + 0.06 * f;
    const QPointF p(rect.center().x() + k * rx * std::cos(t), rect.center().y() - k * ry * std::sin(t));
    if (i == 0)
      path.moveTo(p);
    else
      path.lineTo(p);
  }
  return path;
}

// Over the speaker's head: the horizontal centre and top of where it really is.
QPointF bubbleOrigin(const Stickman* stickman)
{
  const QRectF r = stickman->GetActualBoundingRect();
  return QPointF(r.center().x(), r.top());
}

// Read once per run; a missing file means none.
const QStringList& extraComments()
{
  static const QStringList comments = [] {
    QStringList lines;
    QFile file(GetExtraCommentsPath());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
      return lines;
    QTextStream stream(&file);
    stream.setCodec("UTF-8");
    while (!stream.atEnd())
    {
      const QString line = stream.readLine().left(ExtraCommentMaxLength);
      if (!line.isEmpty())
        lines.append(line);
    }
    return lines;
  }();
  return comments;
}

// Consecutive points closer than Box2D can tell apart are one point; the
// loop closes back to the first, so the last point must differ from it too.
QVector<b2Vec2> distinctLoop(const QPolygonF& polygonM, const QPointF& centreM)
{
  QVector<b2Vec2> vertices;
  for (const QPointF& point : polygonM)
  {
    const b2Vec2 v = Point2Vec(point - centreM);
    if (vertices.isEmpty() || b2DistanceSquared(vertices.last(), v) > b2_linearSlop * b2_linearSlop)
      vertices.append(v);
  }
  while (vertices.size() > 1 && b2DistanceSquared(vertices.last(), vertices.first()) <= b2_linearSlop * b2_linearSlop)
    vertices.removeLast();
  return vertices;
}
} // namespace

void Scene::BackgroundLayer::Set(const QPointF& pos, const QImage& image)
{
  rect = QRectF(pos, QSizeF(image.size()));
  // An opaque picture becomes an opaque pixmap, which is copied rather than
  // blended; one without alpha, as the painter makes them, shares its pixels.
  picture = QPixmap::fromImage(image);
  // A blurred picture loses nothing at half the size: it is blurred by half the
  // radius there and drawn stretched, for a quarter of the memory and the time
  // (blurring the whole picture took several copies of it at every level start).
  const QSize half = (picture.size() / 2).expandedTo(QSize(1, 1));
  blurredPicture = picture.isNull() ? QPixmap()
                                    : BlurPixmap(picture.scaled(half, Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
                                                 bv::SceneBlurRadius / 2);
}

void Scene::BackgroundLayer::Reset()
{
  rect = QRectF(0, 0, 0, 0);
  picture = QPixmap();
  blurredPicture = QPixmap();
}

namespace
{
/// The smallest rectangle holding every pixel of \a image that is not
/// transparent; empty when there is none.
QRect visibleRect(const QImage& image)
{
  const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
  int left = argb.width(), right = -1, top = argb.height(), bottom = -1;
  for (int y = 0; y < argb.height(); ++y)
  {
    const QRgb* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
    for (int x = 0; x < argb.width(); ++x)
      if (qAlpha(line[x]) != 0)
      {
        left = qMin(left, x);
        right = qMax(right, x);
        top = qMin(top, y);
        bottom = y;
      }
  }
  return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// Shows only the part of \a image that is not transparent, at the place it
// has in the whole picture moved by \a offset: a foreground is mostly empty,
// and drawing its empty part cost a blended pass over the whole window every frame.
void setVisiblePart(QGraphicsPixmapItem* item, const QImage& image, QPoint offset = QPoint())
{
  const QRect visible = visibleRect(image);
  if (visible.isEmpty())
    return;
  item->setPixmap(QPixmap::fromImage(image.copy(visible)));
  item->setOffset(offset + visible.topLeft());
}
} // namespace

void Scene::ForegroundLayer::Set(const QPointF& pos, const QImage& image, Scene* scene)
{
  sharp = scene->addPixmap(QPixmap());
  blurred = scene->addPixmap(QPixmap());
  setVisiblePart(sharp, image);
  // Only the drawn part and the blur's reach around it are blurred: blurring
  // the whole picture took several copies of it at every level start.
  const int reach = int(std::ceil(3 * bv::SceneBlurRadius));
  const QRect around = visibleRect(image).adjusted(-reach, -reach, reach, reach) & image.rect();
  if (!around.isEmpty())
    setVisiblePart(blurred, BlurImage(image.copy(around), bv::SceneBlurRadius), around.topLeft());
  for (QGraphicsPixmapItem* item : {sharp, blurred})
  {
    item->setPos(pos);
    item->setZValue(bv::ForegroundLayersZValue);
    item->setFlag(QGraphicsItem::ItemIgnoresTransformations);
  }
  blurred->hide();
}

bool Scene::FitsWorld(const QPointF& metres)
{
  return fitsWorld(metres);
}

Scene::Scene(QObject* parent)
  : QGraphicsScene(parent)
  , m_vanisher(bv::SecondsToVanish, bv::TickIntervalSec)
  , m_contactListener(new ContactListener)
  , m_hud(new HUD(this))
{
}

Scene::~Scene()
{
  clear();
  destroyWorld();
  delete m_contactListener;
}

void Scene::Init(const Level& level, const Materials* materials, SoundManager* sounds, const Stickman* stickmanTemplate)
{
  clear();
  m_soundManager = sounds;
  m_stickmanTemplate = stickmanTemplate;
  m_materials = materials;
  if (m_soundManager)
    m_soundManager->SetListenerPosition(level.GetStartPosition());
  m_liquidSimulator->SetSoundManager(m_soundManager);

  setSceneRect(QRectF(QPointF(0, 0), m2px(level.GetSize())));

  for (const Level::LiquidRegion& liquid : level.GetLiquidRegions())
    addLiquid(level, liquid);

  m_background.Set(QPointF(0, 0), level.GetBackgroundImage());
  for (const Level::ForegroundRegion& region : level.GetForegroundRegions())
  {
    ForegroundLayer layer;
    layer.Set(m2px(region.position), region.image, this);
    m_foregroundLayers.append(layer);
  }

  for (const Level::GroundRegion& ground : level.GetGroundRegions())
    addGround(level, ground);
  for (const Level::StaticObject& staticObject : level.GetStaticObjects())
    addStaticObject(level, staticObject);

  for (const Level::Door& door : level.GetDoors())
    addDoor(level, door);

  for (const Level::NpcInfo& npc : level.GetNpcs())
    addNpc(level, npc);

  m_killedCount = 0;
  if (fitsWorld(level.GetStartPosition()))
  {
    m_player = AddPlayerStickman(m2px(level.GetStartPosition()));
    if (!level.GetStartGrabbedObject().isEmpty())
      m_objectsForStickmen.insert(m_player, level.GetStartGrabbedObject());
  }
  else
    qCDebug(lcScene) << "Level" << levelName(level) << "player left out: the start position is out of the world";

  m_intermezzoCutscenes = level.GetIntermezzoCutscenes();
  m_finishAreas = level.GetFinishAreas();
  for (Level::FinishArea& area : m_finishAreas)
    area.area = m2px(area.area);

  initDarkness(level);

  for (const Level::InteractiveItem& info : level.GetInteractiveItems())
    addInteractiveItem(info);

  delete m_pageCurl;
  m_pageCurl = nullptr;
  delete m_cutscene;
  m_cutscene = nullptr;
  m_nextLevel.clear();
  m_finishAreaReached = -1;
  m_continueIndicator = new CutsceneContinueIndicator(this);
  m_pickUpMark = addPath(QPainterPath(), QPen(PickUpMarkColor, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  m_pickUpMark->setZValue(bv::ObjectsZValue + 0.5);
  m_pickUpMark->hide();
  m_pickUpMarkRect = QRectF();
  m_hud->Create(this);
  m_paused = false;
  if (m_player)
    checkFinishConditions(m_player->pos());
}

// The water is the level's own picture of it, drawn again in front of what is
// in it and fading towards the surface; its body lifts and brakes what enters,
// between walls and a floor that hold what sinks.
void Scene::addLiquid(const Level& level, const Level::LiquidRegion& liquid)
{
  if (!fitsWorld(liquid.area) || liquid.area.width() < 2 * b2_linearSlop || liquid.area.height() < 2 * b2_linearSlop)
  {
    qCDebug(lcScene) << "Level" << levelName(level) << "liquid region" << liquid.area
                     << "left out: out of the world or too small to hold anything";
    return;
  }
  const QRectF areaPx = m2px(liquid.area);
  const int left = qRound(areaPx.x()), top = qRound(areaPx.y());
  const int right = left + qRound(areaPx.width()) - 1, bottom = top + qRound(areaPx.height()) - 1;
  QImage water = level.GetBackgroundImage()
                   .copy(QRect(QPoint(left, top), QPoint(right, bottom)))
                   .convertToFormat(QImage::Format_ARGB32);
  const int transparentHeight = int(m2px(liquid.transparentHeight));
  const double t = liquid.initialTransparency;
  for (int y = 0; y < std::min(transparentHeight, water.height()); ++y)
  {
    const int alpha = int((double(y) / transparentHeight * t + (1 - t)) * 255);
    QRgb* line = reinterpret_cast<QRgb*>(water.scanLine(y));
    for (int x = 0; x < water.width(); ++x)
      line[x] = qRgba(qRed(line[x]), qGreen(line[x]), qBlue(line[x]), alpha);
  }
  ForegroundLayer layer;
  layer.Set(QPointF(left, top), water, this);
  m_foregroundLayers.append(layer);

  Liquid* region =
    m_liquidSimulator->AddRegion(liquid.area, m_materials->Get(liquid.materialName).density, liquid.splashSound);
  const QRectF local = liquid.area.translated(-liquid.area.center());
  const b2Vec2 corners[4] = {Point2Vec(local.topLeft()), Point2Vec(local.bottomLeft()),
                             Point2Vec(local.bottomRight()), Point2Vec(local.topRight())};
  const b2Vec2 above(0, -1);
  b2ChainShape walls;
  walls.CreateChain(corners, 4, corners[0] + above, corners[3] + above);
  b2FixtureDef wallsDef;
  wallsDef.shape = &walls;
  region->GetBody()->CreateFixture(&wallsDef);
  m_staticRects.append(QRectF(left, top, 1, bottom - top + 1));
  m_staticRects.append(QRectF(left, bottom, right - left + 1, 1));
  m_staticRects.append(QRectF(right, top, 1, bottom - top + 1));
}

void Scene::addGround(const Level& level, const Level::GroundRegion& ground)
{
  if (!fitsWorld(ground.area))
  {
    qCDebug(lcScene) << "Level" << levelName(level) << "ground region" << ground.area << "left out: out of the world";
    return;
  }
  b2BodyDef bodyDef;
  bodyDef.position = Point2Vec(ground.area.center());
  b2Body* body = m_world->CreateBody(&bodyDef);
  b2PolygonShape box;
  box.SetAsBox(float(ground.area.width() / 2), float(ground.area.height() / 2));
  b2FixtureDef fixtureDef;
  fixtureDef.shape = &box;
  m_materials->Get(ground.materialName).ApplyTo(fixtureDef);
  body->CreateFixture(&fixtureDef);

  GroundRegion region;
  region.rect = m2px(ground.area);
  region.footstepsSound = m_soundManager ? m_soundManager->Name2Type(ground.footstepsSound) : -1;
  m_groundRegions.append(region);
  m_staticRects.append(region.rect);
}

// A picture the level does not name is drawn in pencil; one it names must load.
void Scene::addDoor(const Level& level, const Level::Door& info)
{
  const auto picture = [](const QString& path, QPixmap (*pencil)()) {
    return path.isEmpty() ? pencil() : QPixmap(path);
  };
  const QPixmap opened = picture(info.openedImagePath, &Door::PencilOpenedPicture);
  const QPixmap closed = picture(info.closedImagePath, &Door::PencilClosedPicture);
  if (opened.isNull() || closed.isNull())
  {
    qCDebug(lcScene) << "Level" << levelName(level) << "door at" << info.position
                     << "left out: its pictures do not both load";
    return;
  }
  if (!fitsWorld(info.position))
  {
    qCDebug(lcScene) << "Level" << levelName(level) << "door at" << info.position << "left out: out of the world";
    return;
  }
  const auto sound = [this](const QString& name) { return m_soundManager ? m_soundManager->Name2Type(name) : -1; };
  Door::Sounds sounds;
  sounds.open = sound(info.openSound);
  sounds.close = sound(info.closeSound);
  sounds.hit = sound(info.hitSound);
  sounds.smash = sound(info.smashSound);
  auto* door = new Door;
  door->Init(this, opened, closed, m2px(info.position), sounds, m_materials->Get(info.materialName));
  m_itemsToBlur.append(door->GetItem());
  m_doors.append(door);
  for (GroundRegion& region : m_groundRegions)
    if (region.rect.adjusted(0, -GroundTolerancePx, 0, 0).contains(door->GetGroundPos()))
      region.doors.append(door);
}

void Scene::addStaticObject(const Level& level, const Level::StaticObject& staticObject)
{
  const QRectF boundsM = staticObject.polygon.boundingRect();
  QVector<b2Vec2> vertices;
  if (fitsWorld(boundsM))
    vertices = distinctLoop(staticObject.polygon, boundsM.center());
  if (vertices.size() < 3)
  {
    qCDebug(lcScene) << "Level" << levelName(level) << "polygon region" << staticObject.polygon
                     << "left out: fewer than 3 distinct points";
    return;
  }
  b2BodyDef bodyDef;
  bodyDef.position = Point2Vec(boundsM.center());
  b2Body* body = m_world->CreateBody(&bodyDef);
  b2ChainShape chain;
  chain.CreateLoop(vertices.constData(), vertices.size());
  b2FixtureDef fixtureDef;
  fixtureDef.shape = &chain;
  m_materials->Get(staticObject.materialName).ApplyTo(fixtureDef);
  body->CreateFixture(&fixtureDef);
  m_staticRects.append(m2px(boundsM));
}

void Scene::addNpc(const Level& level, const Level::NpcInfo& info)
{
  if (!fitsWorld(info.position))
  {
    qCDebug(lcScene) << "Level" << levelName(level) << "npc" << info.name << "left out: out of the world";
    return;
  }
  ComputerControlledStickman* npc = info.isFriend ? new ComputerControlledStickman(this) : new EnemyStickman(this);
  const QColor color = QColor::isValidColor(info.color) ? QColor(info.color) : bv::EnemyStickmanColor;
  AddNpcStickman(npc, m2px(info.position), color);
  if (npc->GetFacingDirection() != info.direction)
    npc->TurnAround();
  if (!info.grabbedObjectPath.isEmpty())
    m_objectsForStickmen.insert(npc, info.grabbedObjectPath);
  npc->SetName(info.name);
  npc->SetVipStatus(info.vip);
}

void Scene::initDarkness(const Level& level)
{
  DrawingPen.setColor(level.IsDark() ? Qt::gray : Qt::black);
  if (!level.IsDark())
    return;
  m_darknessLayer = new DarknessLayer;
  m_darknessLayer->Init(this, level.GetDarknessLevel());
  for (const Level::StaticLightSource& light : level.GetStaticLightSources())
    m_darknessLayer->AddStaticLightSource(m2px(light.radius), m2px(light.position));
  m_darknessLayer->Update();
}

void Scene::initStickman(Stickman* stickman, const QPointF& pos, const QColor& color)
{
  if (m_stickmanTemplate)
    stickman->Load(m_stickmanTemplate);
  const double height = stickman->boundingRect().height();
  if (height > 0)
    stickman->setScale(bv::StickmanHeightPx / height);
  stickman->setPos(pos);
  stickman->setZValue(bv::StickmanZValue);
  stickman->SetColor(color);
  AddItemToBlur(stickman);
  AssignStickmanToGraphicsItem(stickman, stickman);
  connect(stickman, &Stickman::stepMade, this, &Scene::onStickmanStep);
  stickman->SetJumpManager(new StickmanJumpManager(stickman, this));
  stickman->StartCollisionsDetection(m_world);
}

void Scene::Pause()
{
  m_paused = true;
}

void Scene::Resume()
{
  // A scene never built has no world to step: it stays paused until Init.
  m_paused = m_world == nullptr;
}

void Scene::LoadObjectsForStickmen(ObjectCreator* creator)
{
  for (auto it = m_objectsForStickmen.constBegin(); it != m_objectsForStickmen.constEnd(); ++it)
  {
    Stickman* stickman = it.key();
    const QPointF below(0, int(1.5 * bv::StickmanHeightPx));
    if (Object* object = creator->LoadObject(it.value(), stickman->pos() + below))
    {
      object->ShrinkToMaximumSize();
      stickman->GrabItem(object);
    }
  }
  ClearCue();
  if (m_player)
    checkFinishConditions(m_player->pos());
}

void Scene::AddObject(Object* object, bool moveOutsideStaticBodies)
{
  m_itemsToBlur.append(object->GetItem());
  m_objects.append(object);
  if (moveOutsideStaticBodies)
    MoveObjectOutsideStaticBodies(object);
  const LightSourceInfo light = object->GetLightSourceInfo();
  if (m_darknessLayer && light.radius > 0)
    m_darknessLayer->AddDynamicLightSource(m2px(light.radius), object);
  checkIntermezzoConditions(object);
}

void Scene::VanishObject(Object* object)
{
  m_objects.removeAll(object);
  if (m_darknessLayer)
    m_darknessLayer->RemoveDynamicLightSource(object);
  forgetLadderOf(object);
  VanishItem(object->GetItem());
}

// A free ladder is its object: when the object goes, so does the ladder, or
// the ladder list would hand out its item after the vanisher deleted it.
void Scene::forgetLadderOf(const Object* object)
{
  for (Ladder* ladder : QList<Ladder*>(m_ladders))
  {
    if (ladder->GetObject() != object)
      continue;
    QList<Stickman*> stickmen(m_npcs.cbegin(), m_npcs.cend());
    if (m_player)
      stickmen.append(m_player);
    for (Stickman* stickman : qAsConst(stickmen))
    {
      if (GetLadderBeingClimbed(stickman) != ladder)
        continue;
      // The climber loses its hold and drops to whatever ground is below.
      ResetLadderBeingClimbed(stickman);
      stickman->LeaveLadder();
      stickman->StartFallingDown(0);
    }
    AssignLadderToGraphicsItem(nullptr, ladder->GetItem());
    m_ladders.removeAll(ladder);
    delete ladder;
  }
}

void Scene::VanishItem(QGraphicsItem* item)
{
  m_itemsToBlur.removeAll(item);
  m_vanisher.AddItemToVanish(item);
}

void Scene::AddItemToBlur(QGraphicsItem* item)
{
  m_itemsToBlur.append(item);
}

Ragdoll* Scene::CreateRagdoll(Stickman* stickman)
{
  Ragdoll* ragdoll = stickman->CreateRagdoll(m_materials->GetBodyMaterial(), m_world);
  for (const Ragdoll::Element& element : ragdoll->GetElements())
    for (QGraphicsItem* item : element.graphicsItems)
    {
      m_itemsToBlur.append(item);
      if (m_blurred)
        blurItem(item);
    }
  m_ragdolls.append(ragdoll);
  return ragdoll;
}

void Scene::AddNpcStickman(ComputerControlledStickman* stickman, const QPointF& pos, const QColor& color)
{
  initStickman(stickman, pos, color);
  m_npcs.append(stickman);
}

Stickman* Scene::AddPlayerStickman(const QPointF& pos)
{
  auto* stickman = new Stickman(nullptr, this, this);
  connect(stickman, &Stickman::stepMade, this, &Scene::onPlayerStickmanMoved);
  connect(stickman, &Stickman::jumpMade, this, &Scene::onPlayerStickmanMoved);
  // Carried by a vehicle the player moves without a step: the ears go along.
  connect(stickman, &Stickman::moved, this, &Scene::onPlayerStickmanMoved);
  connect(stickman, &Stickman::moved, this, &Scene::checkFinishConditions);
  initStickman(stickman, pos, bv::PlayerStickmanColor);
  return stickman;
}

void Scene::AddLadder(Ladder* ladder)
{
  m_ladders.append(ladder);
  if (!ladder->GetItem()->parentItem())
    m_itemsToBlur.append(ladder->GetItem());
}

void Scene::addInteractiveItem(const Level::InteractiveItem& info)
{
  InteractiveItem* item = InteractiveItem::Create(info.type);
  item->Init(this, info);
  m_interactiveItems.append(item);
}

void Scene::RemoveInteractiveItem(InteractiveItem* item)
{
  m_interactiveItems.removeAll(item);
}

void Scene::VanishInteractiveItem(InteractiveItem* item)
{
  RemoveInteractiveItem(item);
  VanishItem(item->GetItem());
}

InteractiveItem* Scene::FindInteractiveItemById(int id) const
{
  for (InteractiveItem* item : m_interactiveItems)
    if (item->GetId() == id)
      return item;
  return nullptr;
}

void Scene::MakeNpcsPeaceful(bool peaceful)
{
  for (ComputerControlledStickman* npc : qAsConst(m_npcs))
    npc->SetPeaceful(peaceful);
}

void Scene::MoveObjectOutsideStaticBodies(Object* object)
{
  const QRectF r = object->GetBoundingRectAfterShrinking();
  QPointF move;
  for (const QRectF& s : qAsConst(m_staticRects))
  {
    if (!s.intersects(r))
      continue;
    const double right = std::abs(s.right() - r.left());
    const double left = std::abs(s.left() - r.right());
    const double down = std::abs(s.bottom() - r.top());
    const double up = std::abs(s.top() - r.bottom());
    // On equal distances up beats down, down beats left, left beats right.
    double best = up;
    move = QPointF(0, -up);
    if (down < best)
    {
      best = down;
      move = QPointF(0, down);
    }
    if (left < best)
    {
      best = left;
      move = QPointF(-left, 0);
    }
    if (right < best)
      move = QPointF(right, 0);
  }
  object->Move(move.x(), move.y());
}

QList<Object*> Scene::objectsInRect(const QRectF& rect) const
{
  QList<Object*> found;
  for (QGraphicsItem* item : items(rect, Qt::IntersectsItemBoundingRect, Qt::DescendingOrder))
  {
    Object* object = ExtractObjectFromGraphicsItem(item);
    if (object && !object->GetHolder() && !object->IsShrinking() && !found.contains(object))
      found.append(object);
  }
  return found;
}

QList<Object*> Scene::GetObjectsWithinStickmanReach(const Stickman* stickman) const
{
  const QRectF r = stickman->GetActualBoundingRect();
  return objectsInRect(QRectF(r.x(), r.y() + r.height() / 2, r.width(), r.height() / 2));
}

Object* Scene::GetObjectToPickUp(const Stickman* stickman) const
{
  for (Object* object : GetObjectsWithinStickmanReach(stickman))
  {
    Grabable* grabable = object->GetGrabable();
    if (grabable && grabable != stickman->GetGrabbedItem())
      return object;
  }
  return nullptr;
}

QList<Object*> Scene::GetObjectsNearStickman(const Stickman* stickman, double radius) const
{
  const QRectF r = stickman->GetActualBoundingRect();
  return objectsInRect(QRectF(r.center().x() - radius, r.y() + r.height() / 2, 2 * radius, r.height() / 2));
}

QList<QRectF> Scene::GetGroundRegions() const
{
  QList<QRectF> rects;
  for (const GroundRegion& region : m_groundRegions)
    rects.append(region.rect);
  return rects;
}

QList<QLineF> Scene::GetGroundLines() const
{
  QList<QLineF> lines;
  for (const GroundRegion& region : m_groundRegions)
    lines.append(QLineF(region.rect.topLeft(), region.rect.topRight()));
  return lines;
}

QLineF Scene::GetGroundAtPos(const QPointF& pos) const
{
  const GroundRegion* region = groundRegionAt(pos);
  return region ? QLineF(region->rect.topLeft(), region->rect.topRight()) : QLineF();
}

QList<Ladder*> Scene::GetLaddersIntersectingRect(const QRectF& rect) const
{
  QList<Ladder*> found;
  for (Ladder* ladder : m_ladders)
    if (ladder->IsUp() && ladder->GetItem()->sceneBoundingRect().intersects(rect))
      found.append(ladder);
  return found;
}

QList<Ladder*> Scene::GetLaddersWithinStickmanReach(const Stickman* stickman) const
{
  const QRectF r = stickman->sceneBoundingRect();
  return GetLaddersIntersectingRect(QRectF(r.x(), r.y() + 0.75 * r.height(), r.width(), 0.25 * r.height()));
}

Ladder* Scene::GetLadderToClimb(const Stickman* stickman) const
{
  const double x = stickman->sceneBoundingRect().center().x();
  Ladder* nearest = nullptr;
  double nearestDistance = std::numeric_limits<double>::max();
  for (Ladder* ladder : GetLaddersWithinStickmanReach(stickman))
  {
    const double distance = std::abs(ladder->GetItem()->pos().x() - x);
    if (distance < nearestDistance)
    {
      nearest = ladder;
      nearestDistance = distance;
    }
  }
  return nearest;
}

Ladder* Scene::GetLadderBeingClimbed(const Stickman* stickman) const
{
  return m_laddersBeingClimbed.value(stickman, nullptr);
}

void Scene::SetLadderBeingClimbed(const Stickman* stickman, Ladder* ladder)
{
  m_laddersBeingClimbed.insert(stickman, ladder);
}

void Scene::ResetLadderBeingClimbed(const Stickman* stickman)
{
  m_laddersBeingClimbed.remove(stickman);
}

double Scene::GetGlobalDarknessLevel() const
{
  return m_darknessLayer ? m_darknessLayer->GetGlobalDarknessLevel() : 0;
}

void Scene::SetGlobalDarknessLevel(double level)
{
  if (!m_darknessLayer)
  {
    if (!(level > 0))
      return;
    m_darknessLayer = new DarknessLayer;
    m_darknessLayer->Init(this, level);
  }
  m_darknessLayer->SetGlobalDarknessLevele(level);
}

void Scene::RemoveDarkness()
{
  delete m_darknessLayer;
  m_darknessLayer = nullptr;
  DrawingPen.setColor(Qt::black);
}

double Scene::getDarknessLevel(const QPointF& pos) const
{
  return m_darknessLayer ? m_darknessLayer->GetDarknessLevel(pos) : 0;
}

bool Scene::CanStickmanStep(const Stickman* stickman, double distance, QPointF& offset) const
{
  const QPointF p = stickman->GetActualPos();
  const QSizeF size = stickman->GetActualSize();
  const bool right = stickman->GetFacingDirection() != Left;
  const double frontX = right ? p.x() + distance + size.width() / 2 : p.x() - distance - size.width() / 2;

  StandingSurfaceQuery surfaceQuery(px2m(QPointF(frontX, p.y())));
  const QRectF surfaceBox(frontX - 1, p.y() - bv::MaxStairHeightPx, 2, 2 * bv::MaxStairHeightPx);
  m_world->QueryAABB(&surfaceQuery, Rect2AABB(px2m(surfaceBox)));
  if (surfaceQuery.surface.isNull())
  {
    qCDebug(lcScene) << "CanStickmanStep(): " << "Could not find any appropriate surface for a step";
    return false;
  }

  const double dy = surfaceQuery.surface.y1() - p.y();
  offset = QPointF(0, dy);
  const double feetY = dy < 0 ? p.y() + dy : p.y();
  const double h = size.height();
  const QRectF obstacleBox(right ? p.x() : p.x() - distance, feetY - h, distance, h);
  ObstaclesQuery obstacles(feetY - h / 2);
  m_world->QueryAABB(&obstacles, Rect2AABB(px2m(obstacleBox)));
  if (obstacles.found)
  {
    qCDebug(lcScene) << "CanStickmanStep(): " << "Enconutered obstacles on stickman's way";
    return false;
  }
  return true;
}

bool Scene::CanStickmanJump(const Stickman* stickman, double length, double height) const
{
  const QPointF p = stickman->GetActualPos();
  const QSizeF size = stickman->GetActualSize();
  const double width = size.width() / 2 + length;
  const double left = stickman->GetFacingDirection() == Left ? p.x() - width : p.x();
  const QRectF jumpBox(left, p.y() - height - size.height(), width, size.height() + height);
  ObstaclesQuery obstacles(p.y() - height);
  m_world->QueryAABB(&obstacles, Rect2AABB(px2m(jumpBox)));
  return !obstacles.found;
}

bool Scene::WouldSinkIntoStaticGround(const Stickman* stickman, const QPointF& offset) const
{
  const auto overlap = [this](const QRectF& body) {
    double area = 0;
    for (const QRectF& s : m_staticRects)
    {
      const QRectF common = s & body;
      area += common.width() * common.height();
    }
    return area;
  };
  // The trunk, from the feet to the top of the figure: arms and the held item
  // may touch a wall, as a hand does.
  const QRectF r = stickman->GetActualBoundingRect();
  const QRectF body(r.center().x() - StickmanTrunkWidthPx / 2, r.top(), StickmanTrunkWidthPx, r.height());
  // A square pixel spares the rounding of a figure standing on a ground's top.
  return overlap(body.translated(offset)) > overlap(body) + 1;
}

Ragdoll* Scene::KillStickman(Stickman* stickman, QPointF impulse, const QString& elementName,
                             ObjectCategory::Type killer, QPointF velocity)
{
  if (stickman->IsKilled())
    return nullptr;
  stickman->ReleaseItem();
  ResetLadderBeingClimbed(stickman);
  stickman->StopCollisionsDetection();
  stickman->SetKilled();

  Ragdoll* ragdoll = CreateRagdoll(stickman);
  if (const Ragdoll::Element* element = ragdoll->FindElementByName(elementName);
      element && element->body->GetType() == b2_dynamicBody)
  {
    element->body->SetAwake(true);
    element->body->ApplyLinearImpulse(Point2Vec(impulse), element->body->GetWorldCenter(), true);
  }
  if (!velocity.isNull())
    for (const Ragdoll::Element& element : ragdoll->GetElements())
      element.body->SetLinearVelocity(Point2Vec(velocity));

  m_itemsToBlur.removeAll(stickman);
  if (m_cueSpeaker == stickman)
    ClearCue();
  // The start object of a stickman that died before receiving it goes to nobody.
  m_objectsForStickmen.remove(stickman);

  if (stickman == m_player)
  {
    m_player = nullptr;
    ClearCue();
    Blur();
    if (killer == ObjectCategory::Food)
      m_hud->ShowMessage(tr("Some mushrooms are poisonous"));
    emit playerKilled();
  }
  else if (auto* npc = qobject_cast<ComputerControlledStickman*>(stickman))
  {
    m_npcs.removeAll(npc);
    ++m_killedCount;
    MakeNpcsPeaceful(false);
    if (npc->IsVip())
    {
      Blur();
      QString name = npc->GetName();
      if (name.isEmpty())
        name = QStringLiteral("VIP");
      else
        name[0] = name[0].toUpper();
      m_hud->ShowMessage(name + QStringLiteral(" killed!"));
      emit vipKilled();
    }
  }
  stickman->deleteLater();
  return ragdoll;
}

unsigned Scene::PlaySound(int type, const QPointF& pos, double volume, bool loop)
{
  return m_soundManager ? m_soundManager->PlaySound(type, px2m(pos), volume, loop) : 0;
}

unsigned Scene::PlaySound(const QString& name, const QPointF& pos, double volume, bool loop)
{
  return m_soundManager ? PlaySound(m_soundManager->Name2Type(name), pos, volume, loop) : 0;
}

void Scene::StopSound(unsigned source)
{
  if (m_soundManager)
    m_soundManager->StopSound(source);
}

void Scene::MoveSoundSource(unsigned source, const QPointF& pos)
{
  if (m_soundManager)
    m_soundManager->MoveSoundSource(source, px2m(pos));
}

void Scene::onPlayerStickmanMoved(QPointF newPos)
{
  if (m_soundManager)
    m_soundManager->SetListenerPosition(px2m(newPos));
}

const Scene::GroundRegion* Scene::groundRegionAt(const QPointF& pos) const
{
  for (const GroundRegion& region : m_groundRegions)
    if (region.rect.left() <= pos.x() && pos.x() <= region.rect.right() &&
        std::abs(pos.y() - region.rect.top()) < GroundTolerancePx)
      return &region;
  return nullptr;
}

void Scene::onStickmanStep(QPointF newPos)
{
  if (const GroundRegion* region = groundRegionAt(newPos))
    PlaySound(region->footstepsSound, newPos, 1, false);
}

void Scene::onStickmanLand(QPointF landingPos)
{
  if (const GroundRegion* region = groundRegionAt(landingPos))
  {
    PlaySound(region->footstepsSound, landingPos, 1, false);
    PlaySound(region->footstepsSound, landingPos + QPointF(1, 0), 1, false);
  }
}

void Scene::DisplayCue(const Cue& cue)
{
  if (cue.GetFrom() == QLatin1String("player"))
  {
    if (m_player)
      DisplayCue(m_player, cue.GetText(), cue.GetType(), cue.GetDelay());
    return;
  }
  for (ComputerControlledStickman* npc : qAsConst(m_npcs))
    if (!cue.GetFrom().isEmpty() && npc->GetName() == cue.GetFrom())
    {
      DisplayCue(npc, cue.GetText(), cue.GetType(), cue.GetDelay());
      return;
    }
  m_hud->ShowMessage(cue.GetText());
}

void Scene::DisplayCue(const Stickman* stickman, const QString& text, Cue::Type type, double delay)
{
  ClearCue();
  Bubble* bubble = type == Cue::Think ? static_cast<Bubble*>(new ThinkBubble) : new SayBubble;
  bubble->Init(text, stickman->GetFacingDirection(), this);
  m_cueBubble = bubble;
  m_cueSpeaker = stickman;
  placeCueBubble();
  if (m_continueIndicator)
    m_continueIndicator->ShowWithDelay(delay, *bubble);
}

void Scene::DisplayComment(const QString& text)
{
  if (!m_player)
    return;
  ClearCue();
  m_cueBubble = new DisappearingThinkBubble;
  m_cueBubble->Init(text, m_player->GetFacingDirection(), this);
  m_cueSpeaker = m_player;
  placeCueBubble();
}

void Scene::DisplayObjectComment(const QString& name)
{
  if (name.isEmpty())
    return;
  const bool vowel = QStringLiteral("aeiou").contains(name[0].toLower());
  QString text = QStringLiteral("%1 <b>%2</b>. ")
                   .arg(vowel ? QStringLiteral("An") : QStringLiteral("A"), QString(name).replace('_', ' '));
  const QStringList& extras = extraComments();
  if (!extras.isEmpty())
    text += extras[std::rand() % extras.size()];
  DisplayComment(text);
}

void Scene::ClearCue()
{
  delete m_cueBubble;
  m_cueBubble = nullptr;
  m_cueSpeaker = nullptr;
  if (m_continueIndicator)
    m_continueIndicator->Hide();
}

void Scene::placeCueBubble()
{
  if (!m_cueBubble || !m_cueSpeaker)
    return;
  m_cueBubble->Place(bubbleOrigin(m_cueSpeaker), m_hud->GetVisibleRect());
  if (m_continueIndicator && m_continueIndicator->IsShown())
    m_continueIndicator->Place(*m_cueBubble);
}

void Scene::SkipCutsceneCue()
{
  if (m_cutscene)
    m_cutscene->SkipCue();
}

void Scene::PlayCutscene(Cutscene* cutscene)
{
  delete m_cutscene;
  m_cutscene = cutscene->Clone();
}

void Scene::Blur()
{
  if (m_blurred)
    return;
  ClearCue();
  invalidate();
  for (QGraphicsItem* item : qAsConst(m_itemsToBlur))
    blurItem(item);
  for (const ForegroundLayer& layer : qAsConst(m_foregroundLayers))
  {
    layer.sharp->hide();
    layer.blurred->show();
  }
  for (InteractiveItem* item : qAsConst(m_interactiveItems))
    item->Blur();
  m_blurred = true;
}

void Scene::Unblur()
{
  if (!m_blurred)
    return;
  invalidate();
  for (QGraphicsItem* item : qAsConst(m_itemsToBlur))
    BlurEffect::TakeOff(item);
  for (const ForegroundLayer& layer : qAsConst(m_foregroundLayers))
  {
    layer.blurred->hide();
    layer.sharp->show();
  }
  for (InteractiveItem* item : qAsConst(m_interactiveItems))
    item->Unblur();
  m_blurred = false;
}

void Scene::blurItem(QGraphicsItem* item)
{
  item->setGraphicsEffect(new BlurEffect(int(bv::SceneBlurRadius), nullptr));
}

void Scene::EnterZoomMode()
{
  setScalableForeground(true);
}

void Scene::ExitZoomMode()
{
  setScalableForeground(false);
}

void Scene::setScalableForeground(bool scalable)
{
  for (const ForegroundLayer& layer : qAsConst(m_foregroundLayers))
  {
    layer.sharp->setFlag(QGraphicsItem::ItemIgnoresTransformations, !scalable);
    layer.blurred->setFlag(QGraphicsItem::ItemIgnoresTransformations, !scalable);
  }
}

void Scene::TurnThePage(const QPixmap& page, const QPointF& pos)
{
  delete m_pageCurl;
  m_pageCurl = new PageCurl;
  m_pageCurl->Init(this, page, pos);
  PlaySound(QStringLiteral("page_turn"), pos, 1, false);
}

void Scene::drawBackground(QPainter* painter, const QRectF& rect)
{
  // Only the exposed part: the picture is wider than the window.
  const QRectF exposed = rect & m_background.rect;
  if (!exposed.isEmpty())
  {
    const QPixmap& picture = m_blurred ? m_background.blurredPicture : m_background.picture;
    const double scale = picture.width() / m_background.rect.width();
    const QRectF source = exposed.translated(-m_background.rect.topLeft());
    painter->drawPixmap(exposed, picture, QRectF(source.topLeft() * scale, source.size() * scale));
  }
}

void Scene::advance()
{
  if (m_paused)
    return;
  QGraphicsScene::advance();
  placeCueBubble();

  if (m_pageCurl)
  {
    m_pageCurl->Advance();
    if (!m_pageCurl->IsFinished())
      return;
    delete m_pageCurl;
    m_pageCurl = nullptr;
    emit pageTurnFinished();
  }

  if (m_continueIndicator)
    m_continueIndicator->Advance();

  if (m_cutscene)
  {
    if (!m_cutscene->IsStarted())
    {
      m_cutscene->Start(this);
      emit cutsceneStarted();
    }
    else
      m_cutscene->Advance();
    // A receiver of cutsceneStarted may have replaced or cleared the cutscene.
    if (m_cutscene && !m_cutscene->IsFinished())
      return;
    delete m_cutscene;
    m_cutscene = nullptr;
    emit cutsceneFinished();
  }

  if (!m_nextLevel.isEmpty())
  {
    const QString nextLevel = m_nextLevel;
    m_nextLevel.clear();
    emit levelFinished(nextLevel);
    return;
  }

  m_vanisher.Advance();
  advancePhysicsOnly();
  // An object may vanish while it advances: walk a copy.
  const QList<Object*> objects = m_objects;
  for (Object* object : objects)
    object->Advance();
  const double fallenOutY = sceneRect().bottom() + FallenOutDepthPx;
  for (Object* object : QList<Object*>(m_objects))
  {
    if (object->GetItem()->sceneBoundingRect().top() > fallenOutY)
      object->Vanish();
  }
  for (Ragdoll* ragdoll : qAsConst(m_ragdolls))
    ragdoll->Advance();
  for (Door* door : qAsConst(m_doors))
    door->Advance();
  // A tree may turn into a raft or fall while it advances: walk a copy.
  for (InteractiveItem* item : QList<InteractiveItem*>(m_interactiveItems))
    item->Advance();
  updatePickUpMark();
  if (m_darknessLayer)
    m_darknessLayer->Update();
}

void Scene::updatePickUpMark()
{
  if (!m_pickUpMark)
    return;
  const Object* object = m_player && !m_player->IsKilled() && !m_player->IsOnLadder() ? GetObjectToPickUp(m_player)
                                                                                     : nullptr;
  m_pickUpMark->setVisible(object != nullptr);
  if (!object)
    return;
  const QRectF rect = object->GetItem()->sceneBoundingRect();
  if (rect != m_pickUpMarkRect)
    m_pickUpMark->setPath(pencilLoop(rect));
  m_pickUpMarkRect = rect;
}

void Scene::advancePhysicsOnly()
{
  m_liquidSimulator->Advance();
  m_world->Step(float(bv::TickIntervalSec), bv::PhysicsVelocityIterators, bv::PhysicsPositionIterators);
}

void Scene::checkIntermezzoConditions(Object* drawnObject)
{
  for (const Level::IntermezzoCutscene& intermezzo : qAsConst(m_intermezzoCutscenes))
    if (intermezzo.conditions.AreMet(drawnObject))
      PlayCutscene(intermezzo.cutscene);
}

void Scene::checkFinishConditions(QPointF playerPos)
{
  if (!m_player)
    return;
  for (int i = 0; i < m_finishAreas.size(); ++i)
  {
    const Level::FinishArea& area = m_finishAreas[i];
    if (!area.area.contains(playerPos))
      continue;
    if (area.HasDarknessCondition())
    {
      const double darkness = getDarknessLevel(m2px(area.darknessPoint));
      if (darkness < area.darknessMin || darkness > area.darknessMax)
        continue;
    }
    if (area.faceDirectionRequired && m_player->GetFacingDirection() != area.faceDirection)
      continue;
    if (!area.grabbedObject.objectName.isEmpty() && !area.grabbedObject.IsTrue(m_player->GetGrabbedItem()))
      continue;
    if (!area.objectsInArea.objects.isEmpty() && !area.objectsInArea.IsTrue(this))
      continue;

    m_nextLevel = area.nextLevel;
    m_finishAreaReached = i;
    if (area.cutscene)
      PlayCutscene(area.cutscene);
    else
    {
      m_hud->ShowMessage(area.message);
      QCoreApplication::processEvents();
    }
    disconnect(m_player, &Stickman::moved, this, &Scene::checkFinishConditions);
    break;
  }
}

void Scene::clear()
{
  m_paused = true;
  m_vanisher.AbortVanishing();
  qDeleteAll(m_objects);
  m_objects.clear();
  qDeleteAll(m_npcs);
  m_npcs.clear();
  m_objectsForStickmen.clear();
  qDeleteAll(m_ragdolls);
  m_ragdolls.clear();
  ClearCue();
  qDeleteAll(m_doors);
  m_doors.clear();
  qDeleteAll(m_ladders);
  m_ladders.clear();
  qDeleteAll(m_interactiveItems);
  m_interactiveItems.clear();
  delete m_pageCurl;
  m_pageCurl = nullptr;
  // Before the graphics scene's clear: the layer and a cutscene delete their own items.
  delete m_darknessLayer;
  m_darknessLayer = nullptr;
  delete m_cutscene;
  m_cutscene = nullptr;
  QGraphicsScene::clear();
  m_pickUpMark = nullptr;
  m_hud->Reset();
  m_blurred = false;
  m_itemsToBlur.clear();
  m_foregroundLayers.clear();
  m_background.Reset();
  m_groundRegions.clear();
  m_staticRects.clear();
  m_laddersBeingClimbed.clear();
  resetWorld();
  m_player = nullptr;
  delete m_continueIndicator;
  m_continueIndicator = nullptr;
}

void Scene::destroyWorld()
{
  if (!m_world)
    return;
  m_contactListener->SetLiquidContactHandler(nullptr);
  m_liquidSimulator->ClearRegions();
  delete m_liquidSimulator;
  m_liquidSimulator = nullptr;
  for (b2Body* body = m_world->GetBodyList(); body; body = body->GetNext())
    DestroyBodyUserData(body);
  delete m_world;
  m_world = nullptr;
}

void Scene::resetWorld()
{
  destroyWorld();
  m_world = new b2World(b2Vec2(0, float(bv::FreeFallAcceleration)));
  m_world->SetContactListener(m_contactListener);
  m_liquidSimulator = new LiquidSimulator(m_world);
  m_contactListener->SetLiquidContactHandler(m_liquidSimulator);
}
