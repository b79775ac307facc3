#include "QelTestSupport.h"

#include <cstring>

namespace qeltest
{
namespace
{
QStringList capturedLines;
QtMessageHandler previousHandler = nullptr;

void capture(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
  if (context.category && std::strcmp(context.category, "bv.qel") == 0)
    capturedLines.append(message);
  else
    previousHandler(type, context, message);
}
} // namespace

QelLog::QelLog()
{
  capturedLines.clear();
  previousHandler = qInstallMessageHandler(capture);
}

QelLog::~QelLog()
{
  qInstallMessageHandler(previousHandler);
}

const QStringList& QelLog::lines() const
{
  return capturedLines;
}
} // namespace qeltest
