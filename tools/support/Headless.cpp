#include "Headless.h"

#include <QByteArray>

void RunHeadless()
{
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("ALSOFT_DRIVERS"))
    qputenv("ALSOFT_DRIVERS", "null");
}

#ifdef BV_SANITIZE
// Read by the sanitizer runtimes at start-up, however the program is started.
extern "C" const char* __asan_default_options()
{
  return "detect_leaks=1";
}

extern "C" const char* __lsan_default_suppressions()
{
  // Qt 5.15's offscreen platform plugin never frees its screen objects; GStreamer
  // (behind Qt's media player) keeps its plugin registry and type caches for the process,
  // and the SRT library one of its plugins loads keeps a logger.
  return "leak:libqoffscreen.so\n"
         "leak:libgst\n"
         "leak:libglib-2.0.so\n"
         "leak:libgobject-2.0.so\n"
         "leak:libsrt-gnutls.so\n";
}

extern "C" const char* __ubsan_default_options()
{
  return "print_stacktrace=1:halt_on_error=1";
}
#endif
