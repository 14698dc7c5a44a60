// The main of the test programs that run with the system's own resources,
// installed first as the two programs install them.

#include <gtest/gtest.h>

#include "res/SystemResources.h"

int main(int argc, char** argv) {
  qov::SetResources(&qov::SystemResources());
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
