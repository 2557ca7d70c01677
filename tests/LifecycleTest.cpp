#include <gtest/gtest.h>

#include <regex>

#include "EmulatedHost.h"
#include "EmulatedServerFixture.h"

namespace {

class LifecycleTest : public EmulatedServerTest {};

TEST_F(LifecycleTest, ASuccessfulLoadAnswersTrueAndWritesNothing) {
  WriteConfig("{}");
  ASSERT_TRUE(LoadPlugin());
  EXPECT_EQ(PluginLines(), std::vector<std::string>{});
}

}  // namespace
