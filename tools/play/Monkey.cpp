#include "Monkey.h"

#include "flow/GeneralManager.h"
#include "flow/LevelPlayer.h"
#include "stickman/Stickman.h"
#include "world/Scene.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLineF>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace
{
// About a minute of game time for each level before the next one's turn.
constexpr int TicksPerLevel = 3750;
constexpr double Pi = 3.14159265358979323846;
} // namespace

Monkey::Monkey(LevelPlayer* player, unsigned seed) : m_player(player), m_random(seed) {}

Monkey::Report Monkey::Run(const QStringList& levels, int seconds)
{
  Report report;
  report.rssStartKb = ResidentKb();
  QElapsedTimer clock;
  clock.start();
  int minute = 0;
  // What is in memory at a minute's mark depends on the level in play and the
  // objects drawn in it; the minute's highest resident memory, kept by the
  // kernel since the last mark, compares one minute with another.
  resetPeakResident();
  for (int index = 0; !levels.isEmpty() && clock.elapsed() < 1000LL * seconds; ++index)
  {
    const QString level = levels[index % levels.size()];
    QString error;
    if (!m_player->Start(level, &error))
    {
      std::printf("monkey level %s does not load: %s\n", qPrintable(level), qPrintable(error));
      continue;
    }
    ++report.levelsVisited;
    const long long levelStart = m_ticks;
    while (m_ticks - levelStart < TicksPerLevel && m_player->GetOutcome() != LevelPlayer::Finished &&
           clock.elapsed() < 1000LL * seconds)
    {
      act(&report);
      if (clock.elapsed() >= 60000LL * (minute + 1))
      {
        ++minute;
        std::printf("monkey minute %d level %s ticks %lld rss %ld kB rss-peak %ld kB\n", minute, qPrintable(level),
                    m_ticks, ResidentKb(), statusKb("VmHWM:"));
        std::fflush(stdout);
        resetPeakResident();
      }
    }
  }
  report.ticks = m_ticks;
  report.rssEndKb = ResidentKb();
  return report;
}

long Monkey::ResidentKb()
{
  return statusKb("VmRSS:");
}

long Monkey::statusKb(const char* field)
{
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
    return -1;
  QTextStream in(&status);
  for (QString line = in.readLine(); !line.isNull(); line = in.readLine())
    if (line.startsWith(QLatin1String(field)))
      return line.mid(int(std::strlen(field))).trimmed().split(QLatin1Char(' ')).value(0).toLong();
  return -1;
}

void Monkey::resetPeakResident()
{
  QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
  if (!clearRefs.open(QIODevice::WriteOnly) || clearRefs.write("5") != 1)
    std::printf("monkey cannot reset the peak of resident memory: rss-peak is the process's\n");
}

void Monkey::act(Report* report)
{
  const int choice = uniform(0, 99);
  if (choice < 30)
    holdKey(uniform(0, 1) ? Qt::Key_Left : Qt::Key_Right, uniform(5, 90));
  else if (choice < 40)
    holdKey(Qt::Key_Return, uniform(1, 10));
  else if (choice < 50)
    holdKey(uniform(0, 1) ? Qt::Key_Up : Qt::Key_Down, uniform(5, 120));
  else if (choice < 70)
  {
    Scene* scene = m_player->GetManager()->GetScene();
    const int objectsBefore = scene->GetObjects().size();
    const int laddersBefore = scene->GetLaddersIntersectingRect(scene->sceneRect()).size();
    // Frames are painted while the drawing is open, between strokes and
    // within them, as in a person's game.
    m_player->PressKey(Qt::Key_Control);
    for (const QPolygonF& stroke : randomDrawing(report))
    {
      tick(uniform(0, 8));
      m_player->Stroke(stroke, uniform(0, 1));
    }
    m_player->ReleaseKey(Qt::Key_Control);
    report->objectsCreated += std::max(0, scene->GetObjects().size() - objectsBefore);
    report->laddersBuilt += std::max(0, scene->GetLaddersIntersectingRect(scene->sceneRect()).size() - laddersBefore);
  }
  else if (choice < 78)
    holdKey(Qt::Key_Shift, 1);
  else if (choice < 86)
    holdKey(Qt::Key_Space, uniform(1, 5));
  else if (choice < 91)
    m_player->Click(aroundPlayer(400));
  else if (choice < 96)
    pauseInTheMenu();
  else if (choice < 98)
    restartFromTheMenu();
  else
    holdKey(Qt::Key_Space, 1); // skips a cutscene's cue, uses the held item
  tick(uniform(0, 40));
}

void Monkey::tick(int count)
{
  for (int i = 0; i < count; ++i)
  {
    m_player->Tick();
    ++m_ticks;
  }
}

void Monkey::holdKey(int key, int ticks)
{
  m_player->PressKey(key);
  tick(ticks);
  m_player->ReleaseKey(key);
}

QList<QPolygonF> Monkey::randomDrawing(Report* report)
{
  const QPointF centre = aroundPlayer(350);
  const int choice = uniform(0, 3);
  if (choice == 0)
  {
    ++report->laddersDrawn;
    // Two sides and the rungs between, spaced about as wide as the ladder.
    const double width = uniformReal(40, 120), height = uniformReal(150, 500);
    const QPointF top = centre - QPointF(width / 2, height / 2);
    QList<QPolygonF> strokes{traced({top, top + QPointF(0, height)}),
                             traced({top + QPointF(width, 0), top + QPointF(width, height)})};
    const int rungs = std::max(1, static_cast<int>(std::lround(height / (width * uniformReal(0.5, 1.5)))) - 1);
    for (int i = 1; i <= rungs; ++i)
    {
      const QPointF left = top + QPointF(0, height * i / (rungs + 1));
      strokes << traced({left, left + QPointF(width, 0)});
    }
    return strokes;
  }
  if (choice == 1)
  {
    ++report->stairsDrawn;
    // One stroke of risers and treads, rising to either side, drawn from its
    // foot or from its top.
    const double side = uniform(0, 1) ? 1 : -1;
    QPolygonF corners;
    corners << centre;
    for (int i = 0, steps = uniform(2, 6); i < steps; ++i)
    {
      corners << corners.last() + QPointF(0, -uniformReal(20, 70));
      corners << corners.last() + QPointF(side * uniformReal(60, 140), 0);
    }
    if (uniform(0, 1))
      std::reverse(corners.begin(), corners.end());
    return {traced(corners)};
  }
  QList<QPolygonF> strokes;
  for (int i = 0, count = uniform(1, 3); i < count; ++i)
    strokes << randomShape();
  return strokes;
}

QPolygonF Monkey::randomShape()
{
  const QPointF centre = aroundPlayer(350);
  const double size = uniformReal(30, 260);
  QPolygonF shape;
  switch (uniform(0, 3))
  {
  case 0: // a scribble
    shape << centre;
    for (int i = 0, count = uniform(2, 40); i < count; ++i)
      shape << shape.last() + QPointF(uniformReal(-40, 40), uniformReal(-40, 40));
    break;
  case 1: // a circle or an ellipse
    for (int i = 0; i <= 36; ++i)
      shape << centre + QPointF(size * std::cos(i * Pi / 18), 0.6 * size * std::sin(i * Pi / 18));
    break;
  case 2: // a box
    shape << centre << centre + QPointF(size, 0) << centre + QPointF(size, size * 0.5)
          << centre + QPointF(0, size * 0.5) << centre;
    break;
  default: // a straight line
    shape << centre << centre + QPointF(uniformReal(-size, size), uniformReal(-size, size));
    break;
  }
  return shape;
}

QPolygonF Monkey::traced(const QVector<QPointF>& corners)
{
  // A mouse reports a point every few pixels, never quite on the line.
  constexpr double StepPx = 10;
  QPolygonF points;
  points << corners.value(0);
  for (int i = 1; i < corners.size(); ++i)
  {
    const QPointF from = corners[i - 1], to = corners[i];
    const int steps = std::max(1, static_cast<int>(std::ceil(QLineF(from, to).length() / StepPx)));
    for (int step = 1; step <= steps; ++step)
      points << from + (to - from) * step / steps + QPointF(uniformReal(-1, 1), uniformReal(-1, 1));
  }
  return points;
}

QPointF Monkey::aroundPlayer(double radius)
{
  const Stickman* player = m_player->GetManager()->GetScene()->GetPlayer();
  const QPointF origin = player ? player->pos() : m_player->GetManager()->GetScene()->sceneRect().center();
  return origin + QPointF(uniformReal(-radius, radius), uniformReal(-radius, 0.3 * radius));
}

void Monkey::pauseInTheMenu()
{
  m_player->PressKey(Qt::Key_Escape);
  m_player->ReleaseKey(Qt::Key_Escape);
  tick(uniform(0, 5)); // no ticks pass in the menu
  m_player->PressKey(Qt::Key_Escape);
  m_player->ReleaseKey(Qt::Key_Escape);
}

void Monkey::restartFromTheMenu()
{
  m_player->PressKey(Qt::Key_Escape);
  m_player->ReleaseKey(Qt::Key_Escape);
  if (m_player->ClickMenuButton(QStringLiteral("Restart level")))
    return;
  // No restart offered (a cutscene may have sent the game to the menu): back to play.
  m_player->PressKey(Qt::Key_Escape);
  m_player->ReleaseKey(Qt::Key_Escape);
}

int Monkey::uniform(int low, int high)
{
  return std::uniform_int_distribution<int>(low, high)(m_random);
}

double Monkey::uniformReal(double low, double high)
{
  return std::uniform_real_distribution<double>(low, high)(m_random);
}
