#include "Headless.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
  // Every test program runs headless unless told otherwise: no display, no sound card needed.
  RunHeadless();
  testing::InitGoogleTest(&argc, argv);
  // Listing the tests (CTest does it to discover them) needs no application.
  if (testing::GTEST_FLAG(list_tests))
    return RUN_ALL_TESTS();
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
