#include <QApplication>

#include <gtest/gtest.h>

#ifdef BV_SANITIZE
// Read by the sanitizer runtimes at start-up, however the test is started.
extern "C" const char* __asan_default_options()
{
  return "detect_leaks=1";
}

extern "C" const char* __lsan_default_suppressions()
{
  // Qt 5.15's offscreen platform plugin never frees its screen objects; GStreamer
  // (behind Qt's media player) keeps its plugin registry and type caches for the process,
  // and the SRT library one of its plugins loads allocates a global when it is loaded.
  return "leak:libqoffscreen.so\n"
         "leak:libgst\n"
         "leak:libsrt\n"
         "leak:libglib-2.0.so\n"
         "leak:libgobject-2.0.so\n";
}

extern "C" const char* __ubsan_default_options()
{
  return "print_stacktrace=1:halt_on_error=1";
}
#endif

int main(int argc, char** argv)
{
  // Every test program runs headless unless told otherwise: no display, no sound card needed.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("ALSOFT_DRIVERS"))
    qputenv("ALSOFT_DRIVERS", "null");
  testing::InitGoogleTest(&argc, argv);
  // Listing the tests (CTest does it to discover them) needs no application.
  if (testing::GTEST_FLAG(list_tests))
    return RUN_ALL_TESTS();
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
