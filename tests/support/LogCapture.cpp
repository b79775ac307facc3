#include "LogCapture.h"

#include <QtGlobal>

#include <cstring>

namespace
{
// A message handler is a plain function: its state lives here.
QStringList capturedLines;
const char* capturedCategory = nullptr;
QtMessageHandler previousHandler = nullptr;

void capture(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
  if (!capturedCategory || (context.category && std::strcmp(context.category, capturedCategory) == 0))
    capturedLines.append(message);
  else
    previousHandler(type, context, message);
}
} // namespace

LogCapture::LogCapture(const char* category)
{
  capturedLines.clear();
  capturedCategory = category;
  previousHandler = qInstallMessageHandler(capture);
}

LogCapture::~LogCapture()
{
  qInstallMessageHandler(previousHandler);
}

const QStringList& LogCapture::lines() const
{
  return capturedLines;
}
