#include "common/OperationTimeMeasurer.h"

#include <QMap>

#include <ctime>

OperationTimeMeasurer::OperationTimeMeasurer(const QString& name) : m_name(name) {}

void OperationTimeMeasurer::Start()
{
  m_startTick = clock();
}

void OperationTimeMeasurer::Stop()
{
  m_ticks += clock() - m_startTick;
  ++m_operations;
}

double OperationTimeMeasurer::AverageTicksPerOperation() const
{
  return m_operations ? double(m_ticks) / m_operations : 0.0;
}

double OperationTimeMeasurer::AverageSecondsPerOperation() const
{
  return m_operations ? double(m_ticks) / (m_operations * double(CLOCKS_PER_SEC)) : 0.0;
}

QString OperationTimeMeasurer::Display() const
{
  return QString("Average seconds per %1 operation = %2").arg(m_name).arg(AverageSecondsPerOperation());
}

OperationTimeMeasurer& OperationTimeMeasurer::Instance(const QString& name)
{
  static QMap<QString, OperationTimeMeasurer> registry;
  auto it = registry.find(name);
  if (it == registry.end())
    it = registry.insert(name, OperationTimeMeasurer(name));
  return it.value();
}
