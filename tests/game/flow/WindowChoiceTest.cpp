#include "flow/FailbackMainWindow.h"
#include "flow/MainWindow.h"

#include <QCoreApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

// On a virtual X server OpenGL is Mesa's, drawn by the processor: the game
// takes the window without OpenGL there, which paints a frame many times
// faster, unless told otherwise.
TEST(WindowChoice, OpenGLDrawnByTheProcessorGivesTheWindowWithoutIt)
{
  QTemporaryDir settings;
  QCoreApplication::setOrganizationName("brisvel-tests");
  QCoreApplication::setApplicationName("window-choice");
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
  ASSERT_TRUE(IsOpenGL2Available());

  const auto made = [](const char* choice) {
    if (choice)
      qputenv("BRISVEL_WINDOW", choice);
    else
      qunsetenv("BRISVEL_WINDOW");
    return std::unique_ptr<QWidget>(CreateMainWindow());
  };
  EXPECT_NE(dynamic_cast<FailbackMainWindow*>(made(nullptr).get()), nullptr);
  EXPECT_NE(dynamic_cast<MainWindow*>(made("opengl").get()), nullptr);
  EXPECT_NE(dynamic_cast<FailbackMainWindow*>(made("software").get()), nullptr);
  qunsetenv("BRISVEL_WINDOW");
}
