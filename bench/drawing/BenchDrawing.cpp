// Times the road of a long stroke through the object creator on a level of
// flat ground, with the game's images.db and objects.xml beside the program:
//
//   bench_drawing [POINTS]
//
// prints the median time of drawing a scribble of POINTS points (5,000 by
// default) point by point, of finishing it (ladder and stairs detection,
// recognition, the object's making), and of the slowest of the 100 ticks after
// it (the object shrinks, gets its body and falls).

#include "Headless.h"

#include "world/Level.h"
#include "world/Materials.h"
#include "world/ObjectCreator.h"
#include "world/Scene.h"

#include "common/FilePaths.h"
#include "stickman/Stickman.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace
{
constexpr int Runs = 11;

const char* const LevelXml = R"(<?xml version="1.0" encoding="UTF-8"?>
<level title="Bench">
  <geometry width="30" height="10"/>
  <start x="3" y="6"/>
  <foreground/>
  <ground><region x="0" y="6" width="30" height="1"/></ground>
</level>
)";

double median(std::vector<double> values)
{
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}
} // namespace

int main(int argc, char** argv)
{
  RunHeadless();
  QApplication application(argc, argv);
  const int points = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5000;

  QTemporaryDir dir;
  QFile file(dir.filePath("level.xml"));
  if (!file.open(QIODevice::WriteOnly) || file.write(LevelXml) < 0)
    return 1;
  file.close();
  Level level{QSizeF()};
  Materials materials;
  Stickman figure(nullptr, nullptr, nullptr);
  if (!level.Load(file.fileName()) || !materials.Load(GetMaterialsPath()) || !figure.Load(GetStickmanPath()))
  {
    std::fprintf(stderr, "the level, materials.xml or stickman.xml does not load\n");
    return 1;
  }
  Scene scene(nullptr);
  scene.Init(level, &materials, nullptr, &figure);
  ObjectCreator creator;
  creator.Init(&scene, &materials, nullptr);

  std::vector<double> drawing, finishing, ticking;
  for (int run = 0; run < Runs; ++run)
  {
    QElapsedTimer timer;
    timer.start();
    creator.Start();
    creator.MovePenTo(QPointF(900, 250));
    for (int i = 1; i < points; ++i)
      creator.DrawLineTo(QPointF(900 + 150 * std::sin(i * 0.37 + run), 250 + 100 * std::cos(i * 0.23)));
    drawing.push_back(timer.nsecsElapsed() / 1e6);
    timer.restart();
    creator.Finish();
    finishing.push_back(timer.nsecsElapsed() / 1e6);
    double slowest = 0;
    for (int tick = 0; tick < 100; ++tick)
    {
      timer.restart();
      scene.advance();
      slowest = std::max(slowest, timer.nsecsElapsed() / 1e6);
    }
    ticking.push_back(slowest);
    creator.Abort();
    scene.clear();
    scene.Init(level, &materials, nullptr, &figure);
  }
  std::printf("stroke of %d points: drawing %.2f ms, finishing %.2f ms, slowest tick %.2f ms (medians of %d)\n", points,
              median(drawing), median(finishing), median(ticking), Runs);
  return 0;
}
