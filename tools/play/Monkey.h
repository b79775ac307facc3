#pragma once

#include <QPolygonF>
#include <QStringList>

#include <random>

class LevelPlayer;

/// Random but plausible input for a player: walking, jumping, climbing,
/// drawing scribbles and shapes a person would draw (ladders, stairs, boxes,
/// circles), picking up, using, pausing in the menu and restarting from it.
/// Every level gets its turn; the same seed gives the same input.
class Monkey
{
public:
  struct Report
  {
    long long ticks = 0;
    int levelsVisited = 0;
    int objectsCreated = 0;
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
  /// One burst of input, then a few ticks.
  void act(Report* report);
  void tick(int count);
  void holdKey(int key, int ticks);
  QPolygonF randomShape();
  QPointF aroundPlayer(double radius);
  void pauseInTheMenu();
  void restartFromTheMenu();
  int uniform(int low, int high);
  double uniformReal(double low, double high);

  LevelPlayer* m_player;
  std::mt19937 m_random;
  long long m_ticks = 0;
};
