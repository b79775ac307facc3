#include "GameClock.h"

#include "common/GlobalConstants.h"

#include <limits>

GameClock::GameClock(QObject* parent) : QObject(parent)
{
  m_timer.setTimerType(Qt::PreciseTimer);
  m_timer.setInterval(bv::TickIntervalMs);
  connect(&m_timer, &QTimer::timeout, this, &GameClock::onTimeout);
}

void GameClock::start()
{
  ++m_run;
  m_clock.start();
  m_ticksGiven = 0;
  m_timer.start();
}

void GameClock::stop()
{
  ++m_run;
  m_timer.stop();
}

void GameClock::SetManual()
{
  m_timer.setInterval(std::numeric_limits<int>::max());
}

void GameClock::onTimeout()
{
  qint64 due = m_clock.elapsed() / bv::TickIntervalMs - m_ticksGiven;
  if (due > MaxTicksPerEvent)
  {
    m_ticksGiven += due - MaxTicksPerEvent;
    due = MaxTicksPerEvent;
  }
  // A tick may restart or stop the clock (a level restart, the menu).
  const unsigned run = m_run;
  for (; due > 0 && run == m_run; --due)
  {
    ++m_ticksGiven;
    emit tick();
  }
}
