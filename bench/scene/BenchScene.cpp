// Times the game tick of a busy level: the largest test level with the
// player, four non-player stickmen and 100 drawn objects falling onto the
// ground in two layers, for 2,000 ticks. The objects are laid out as a level
// designer would place them: over solid ground, none overlapping another.
// Strokes dropped into each other interlock (their thin boxes cross deeper
// than the position solver can undo), and an island that never resolves its
// penetration never falls asleep.
//
//   bench_scene [enemies | bombs | floating]
//
// With "enemies", eight enemies stand along the level instead, each beside a
// sword or a pistol, and the player holds a shield: they choose, take up their
// weapons, turn to the player and shoot when it is on their line or strike
// when it is in reach; the one in reach strikes the shield tick after tick.
// With "bombs", three bombs fall among the objects once they lie, and explode
// a second later: 96 particles fly through them and the stickmen for half a second.
// With "floating", the level is a long pool between two banks instead, and 30
// drawn wooden objects fall into it and float there, bobbing and drifting.
//
// Prints the median and the 99th percentile of one Scene::advance, in
// microseconds of processor time and then, on its last line, of wall-clock
// time: "tick-p50-us A tick-p99-us B".

#include "Headless.h"

#include "audio/SoundManager.h"
#include "common/ConvertUtils.h"
#include "common/GlobalConstants.h"
#include "flow/MallocTuning.h"
#include "stickman/Stickman.h"
#include "world/ComputerControlledStickman.h"
#include "world/EnemyStickman.h"
#include "world/FixtureCreators.h"
#include "world/Level.h"
#include "world/Materials.h"
#include "world/Object.h"
#include "world/ObjectCreator.h"
#include "world/Scene.h"

#include <box2d/b2_body.h>
#include <box2d/b2_world.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QGraphicsPathItem>
#include <QPainterPath>
#include <QPen>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <random>
#include <vector>

namespace
{
constexpr int Ticks = 2000;
constexpr int Objects = 100;
constexpr int ExtraNpcs = 2;
// When the bombs fall: the objects have landed by then.
constexpr int BombsDropTick = 300;
// Where the enemies stand, metres along the level's floor.
constexpr double EnemiesXM[] = {3, 10, 13, 17, 24, 28, 32, 36};
constexpr int FloatingObjects = 30;

// The player on a bank beside 30 m of water 3 m deep.
const char* const PoolLevel = R"(<?xml version="1.0" encoding="UTF-8"?>
<level title="Pool">
  <geometry width="40" height="12"/>
  <foreground/>
  <start x="2" y="8"/>
  <ground>
    <region x="0" y="8" width="5" height="4"/>
    <region x="35" y="8" width="5" height="4"/>
    <region x="5" y="11" width="30" height="1"/>
  </ground>
  <liquid><region x="5" y="8" width="30" height="3" material="water" splash-sound="splash"/></liquid>
</level>
)";

// A wobbly stroke of about 60 x 40 px, like a quick drawing.
QPainterPath stroke(std::mt19937& random)
{
  std::uniform_real_distribution<double> jitter(-8, 8);
  QPainterPath path(QPointF(0, 0));
  for (int i = 1; i <= 8; ++i)
    path.lineTo(i * 8 + jitter(random), (i % 2 ? 40 : 0) + jitter(random));
  return path;
}

double threadCpuMicros()
{
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return now.tv_sec * 1e6 + now.tv_nsec / 1e3;
}

// Drop spots over the level's ground regions: columns one stroke and a gap
// apart and clear of the regions' ends, as many layers as needed, high enough
// to clear any hill on them.
std::vector<QPointF> dropSpots(const Level& level)
{
  constexpr double ColumnPx = 100;
  constexpr double LayerPx = 70;
  constexpr double ClearancePx = 250;
  std::vector<double> columns;
  std::vector<double> groundTops;
  for (const Level::GroundRegion& region : level.GetGroundRegions())
  {
    const QRectF area = m2px(region.area);
    for (double x = area.left() + ColumnPx; x + ColumnPx <= area.right(); x += ColumnPx)
    {
      columns.push_back(x);
      groundTops.push_back(area.top());
    }
  }
  std::vector<QPointF> spots;
  for (int layer = 0; !columns.empty() && int(spots.size()) < Objects; ++layer)
    for (size_t i = 0; i < columns.size() && int(spots.size()) < Objects; ++i)
      spots.emplace_back(columns[i], groundTops[i] - ClearancePx - layer * LayerPx);
  return spots;
}

// A plain picture of a weapon, a shield or a bomb, centred on its origin.
QPainterPath picture(const QString& name)
{
  QPainterPath path;
  if (name == QLatin1String("sword"))
  {
    path.moveTo(-40, 0);
    path.lineTo(40, 0);
    path.moveTo(-30, -8);
    path.lineTo(-30, 8);
  }
  else if (name == QLatin1String("pistol"))
  {
    path.moveTo(-18, -9);
    path.lineTo(18, -9);
    path.lineTo(-10, -9);
    path.lineTo(-10, 9);
  }
  else
    path.addEllipse(QRectF(-20, -30, 40, 60));
  return path;
}

// An object made as a level's are, from an object file and its description.
Object* loadObject(ObjectCreator& creator, const QString& name, const QPointF& pos)
{
  const QString file = QDir::temp().filePath(QStringLiteral("bench_scene_%1.obj").arg(name));
  creator.SaveObject(file, picture(name), name);
  Object* object = creator.LoadObject(file, pos);
  QFile::remove(file);
  return object;
}

// The enemies, each with a sword or a pistol lying a metre and a half away,
// and the player's shield.
void addFight(Scene& scene, ObjectCreator& creator)
{
  int i = 0;
  for (const double xM : EnemiesXM)
  {
    const QPointF pos = m2px(QPointF(xM, 11));
    scene.AddNpcStickman(new EnemyStickman(&scene), pos, Qt::darkRed);
    const QPointF weaponPos = pos + QPointF(i % 2 ? 150 : -150, -40);
    loadObject(creator, i % 2 ? QStringLiteral("pistol") : QStringLiteral("sword"), weaponPos);
    ++i;
  }
  if (Stickman* player = scene.GetPlayer())
  {
    Object* shield = loadObject(creator, QStringLiteral("shield"), player->pos() - QPointF(0, 100));
    player->GrabItem(shield);
  }
}

// Three bombs dropped between the columns of objects, along the level.
void dropBombs(ObjectCreator& creator, const Level& level)
{
  const std::vector<QPointF> spots = dropSpots(level);
  for (const size_t i : {spots.size() / 6, spots.size() / 2, spots.size() * 5 / 6})
    loadObject(creator, QStringLiteral("bomb"), spots[i] + QPointF(50, 0));
}

// Drawn objects of \a density, one at each spot.
void addObjects(Scene& scene, const std::vector<QPointF>& spots, double density, std::mt19937& random)
{
  std::uniform_real_distribution<double> jitter(-5, 5);
  for (const QPointF& spot : spots)
  {
    auto* item = new QGraphicsPathItem(stroke(random));
    item->setPen(QPen(Qt::black, 3));
    item->setPos(spot + QPointF(jitter(random), jitter(random)));
    item->setZValue(bv::ObjectsZValue);
    scene.addItem(item);
    Object* object = Object::Create(QStringLiteral("stone"));
    Material material;
    material.density = density;
    material.friction = 0.5;
    object->Init(&scene, item, new PathFixtureCreator(item->path()), material, GrabableInfo(), UsableInfo(),
                 QSizeF(-1, -1), ObjectSoundsInfo(), LightSourceInfo(), true);
    scene.AddObject(object, false);
  }
}

// Three layers of ten over the pool, a metre apart.
std::vector<QPointF> floatingSpots()
{
  std::vector<QPointF> spots;
  for (int i = 0; i < FloatingObjects; ++i)
    spots.emplace_back(m2px(QPointF(6 + i % 10 * 2.8, 7 - i / 10)));
  return spots;
}
} // namespace

int main(int argc, char** argv)
{
  TuneMalloc();
  RunHeadless();
  QApplication application(argc, argv);

  Materials materials;
  Stickman figure(nullptr, nullptr, nullptr);
  Level level(QSizeF(0, 0));
  const bool floating = application.arguments().contains(QStringLiteral("floating"));
  QTemporaryDir poolDirectory;
  QString levelPath = QStringLiteral(BV_BENCH_LEVEL);
  if (floating)
  {
    levelPath = poolDirectory.filePath(QStringLiteral("pool.xml"));
    QFile pool(levelPath);
    if (pool.open(QIODevice::WriteOnly))
      pool.write(PoolLevel);
  }
  if (!materials.Load(BV_DATA_DIR "/materials.xml") || !figure.Load(BV_DATA_DIR "/stickman.xml") ||
      !level.Load(levelPath))
  {
    std::fprintf(stderr, "cannot load the data files or %s\n", qPrintable(levelPath));
    return 1;
  }
  SoundManager sounds;
  Scene scene(nullptr);
  scene.Init(level, &materials, &sounds, &figure);
  ObjectCreator creator;
  creator.Init(&scene, &materials, &sounds);
  const bool bombs = application.arguments().contains(QStringLiteral("bombs"));
  if (application.arguments().contains(QStringLiteral("enemies")))
  {
    addFight(scene, creator);
  }
  else if (!floating)
  {
    for (int i = 0; i < ExtraNpcs; ++i)
      scene.AddNpcStickman(new ComputerControlledStickman(&scene), QPointF(800 + 600 * i, 1100), Qt::darkGreen);
  }
  std::mt19937 random(7);
  if (floating)
    addObjects(scene, floatingSpots(), materials.Get(QStringLiteral("wood")).density, random);
  else
    addObjects(scene, dropSpots(level), 1, random);

  std::vector<double> micros;
  std::vector<double> cpuMicros;
  micros.reserve(Ticks);
  cpuMicros.reserve(Ticks);
  QElapsedTimer timer;
  for (int tick = 0; tick < Ticks; ++tick)
  {
    // The player keeps walking back and forth, asking the world at every step.
    if (Stickman* player = scene.GetPlayer())
      player->Move(tick / 400 % 2 ? Left : Right);
    if (bombs && tick == BombsDropTick)
      dropBombs(creator, level);
    const double cpuStart = threadCpuMicros();
    timer.start();
    scene.advance();
    micros.push_back(timer.nsecsElapsed() / 1000.0);
    cpuMicros.push_back(threadCpuMicros() - cpuStart);
  }
  int awake = 0;
  for (const b2Body* body = scene.GetWorld()->GetBodyList(); body; body = body->GetNext())
    awake += body->GetType() == b2_dynamicBody && body->IsAwake();
  std::sort(micros.begin(), micros.end());
  std::sort(cpuMicros.begin(), cpuMicros.end());
  // The machine is shared: the processor time of the tick shows the work
  // apart from the time other programs took the processor away.
  std::printf("processor time: tick-p50-us %.0f tick-p99-us %.0f\n", cpuMicros[cpuMicros.size() / 2],
              cpuMicros[cpuMicros.size() * 99 / 100]);
  std::printf("level %s, player %s, %d npcs, %d objects, %d ticks, %d dynamic bodies awake at the end\n",
              qPrintable(levelPath), scene.GetPlayer() ? "alive" : "dead", scene.GetNpcs().size(), scene.GetObjects().size(),
              Ticks, awake);
  std::printf("tick-p50-us %.0f tick-p99-us %.0f\n", micros[micros.size() / 2], micros[micros.size() * 99 / 100]);
  return 0;
}
