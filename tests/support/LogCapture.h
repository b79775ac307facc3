#pragma once

#include <QStringList>

/// Collects the log messages written while it is alive, instead of printing
/// them: those of one logging category, or all when none is named.
class LogCapture
{
public:
  explicit LogCapture(const char* category = nullptr);
  ~LogCapture();
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  const QStringList& lines() const;
};
