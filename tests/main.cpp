#include <gtest/gtest.h>

#include "ProgramSetup.h"

int main(int argc, char** argv) {
  SetUpProgram();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
