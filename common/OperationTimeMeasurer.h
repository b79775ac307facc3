#pragma once

#include <QString>

/// Accumulates the processor time of a named, repeated operation.
class OperationTimeMeasurer
{
public:
  OperationTimeMeasurer() = default;
  explicit OperationTimeMeasurer(const QString& name);

  void Start();
  void Stop();

  /// Both are 0 until an operation has been counted.
  double AverageTicksPerOperation() const;
  double AverageSecondsPerOperation() const;
  QString Display() const;

  /// The process-wide measurer of this name, created on first request.
  static OperationTimeMeasurer& Instance(const QString& name);

private:
  long m_ticks = 0;
  long m_operations = 0;
  long m_startTick = 0;
  QString m_name;
};
