#pragma once

#include <QList>
#include <QPolygonF>
#include <QStringList>

#include <random>

class LevelPlayer;

/// Random but plausible input for a player: walking, jumping, climbing,
/// drawing scribbles and shapes a person would draw (ladders, stairs, boxes,
/// circles) with the game going on between the mouse's moves, picking up,
/// using, pausing in the menu and restarting from it. Every level gets its
/// turn; the same seed gives the same input.
class Monkey
{
public:
  struct Report
  {
    long long ticks = 0;
    int levelsVisited = 0;
    int objectsCreated = 0;
    int laddersDrawn = 0;
    int laddersBuilt = 0;
    int stairsDrawn = 0;
    long rssStartKb = 0;
    long rssEndKb = 0;
  };

  Monkey(LevelPlayer* player, unsigned seed);

  /// Plays \a levels in turn, each until it ends or for about a minute of game
  /// time, for \a seconds of wall time. Writes a line each wall minute.
  Report Run(const QStringList& levels, int seconds);

  /// The resident memory of this process.
  static long ResidentKb();

private:
  /// A "kB" figure of /proc/self/status; -1 when it cannot be read.
  static long statusKb(const char* field);
  /// Starts the kernel's count of the highest resident memory (VmHWM) afresh.
  static void resetPeakResident();
  /// One burst of input, then a few ticks.
  void act(Report* report);
  void tick(int count);
  void holdKey(int key, int ticks);
  /// The strokes of one drawing: a ladder, stairs, or one to three shapes.
  QList<QPolygonF> randomDrawing(Report* report);
  QPolygonF randomShape();
  /// The straight lines between \a corners as a mouse traces them.
  QPolygonF traced(const QVector<QPointF>& corners);
  QPointF aroundPlayer(double radius);
  void pauseInTheMenu();
  void restartFromTheMenu();
  int uniform(int low, int high);
  double uniformReal(double low, double high);

  LevelPlayer* m_player;
  std::mt19937 m_random;
  long long m_ticks = 0;
};
