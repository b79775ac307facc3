// Times the game tick of a busy level: the largest test level with the
// player, four non-player stickmen and 100 drawn objects falling and piling
// up on the ground, for 2,000 ticks.
//
//   bench_scene
//
// prints the median and the 99th percentile of one Scene::advance, in
// microseconds of processor time and then, on its last line, of wall-clock
// time: "tick-p50-us A tick-p99-us B".

#include "audio/SoundManager.h"
#include "common/GlobalConstants.h"
#include "stickman/Stickman.h"
#include "world/ComputerControlledStickman.h"
#include "world/FixtureCreators.h"
#include "world/Level.h"
#include "world/Materials.h"
#include "world/Object.h"
#include "world/Scene.h"

#include <QApplication>
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

void addObjects(Scene& scene, std::mt19937& random)
{
  std::uniform_real_distribution<double> x(100, scene.sceneRect().width() - 100);
  std::uniform_real_distribution<double> y(100, 700);
  for (int i = 0; i < Objects; ++i)
  {
    auto* item = new QGraphicsPathItem(stroke(random));
    item->setPen(QPen(Qt::black, 3));
    item->setPos(x(random), y(random));
    item->setZValue(bv::ObjectsZValue);
    scene.addItem(item);
    Object* object = Object::Create(QStringLiteral("stone"));
    Material material;
    material.density = 1;
    material.friction = 0.5;
    object->Init(&scene, item, new PathFixtureCreator(item->path()), material, GrabableInfo(), UsableInfo(),
                 QSizeF(-1, -1), ObjectSoundsInfo(), LightSourceInfo(), true);
    scene.AddObject(object, false);
  }
}
} // namespace

int main(int argc, char** argv)
{
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("ALSOFT_DRIVERS"))
    qputenv("ALSOFT_DRIVERS", "null");
  QApplication application(argc, argv);

  Materials materials;
  Stickman figure(nullptr, nullptr, nullptr);
  Level level(QSizeF(0, 0));
  if (!materials.Load(BV_DATA_DIR "/materials.xml") || !figure.Load(BV_DATA_DIR "/stickman.xml") ||
      !level.Load(BV_BENCH_LEVEL))
  {
    std::fprintf(stderr, "cannot load the data files or %s\n", BV_BENCH_LEVEL);
    return 1;
  }
  SoundManager sounds;
  Scene scene(nullptr);
  scene.Init(level, &materials, &sounds, &figure);
  for (int i = 0; i < ExtraNpcs; ++i)
    scene.AddNpcStickman(new ComputerControlledStickman(&scene), QPointF(800 + 600 * i, 1100), Qt::darkGreen);
  std::mt19937 random(7);
  addObjects(scene, random);

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
    const double cpuStart = threadCpuMicros();
    timer.start();
    scene.advance();
    micros.push_back(timer.nsecsElapsed() / 1000.0);
    cpuMicros.push_back(threadCpuMicros() - cpuStart);
  }
  std::sort(micros.begin(), micros.end());
  std::sort(cpuMicros.begin(), cpuMicros.end());
  // The machine is shared: the processor time of the tick shows the work
  // apart from the time other programs took the processor away.
  std::printf("processor time: tick-p50-us %.0f tick-p99-us %.0f\n", cpuMicros[cpuMicros.size() / 2],
              cpuMicros[cpuMicros.size() * 99 / 100]);
  std::printf("level %s, player %s, %d npcs, %d objects, %d ticks\n", BV_BENCH_LEVEL,
              scene.GetPlayer() ? "alive" : "dead", scene.GetNpcs().size(), scene.GetObjects().size(), Ticks);
  std::printf("tick-p50-us %.0f tick-p99-us %.0f\n", micros[micros.size() / 2], micros[micros.size() * 99 / 100]);
  return 0;
}
