#include <gtest/gtest.h>

#include "EmulatedHost.h"
#include "GameAllocator.h"
#include "ModuleLoader.h"
#include "RelayTestSupport.h"

namespace {

using namespace relay_test;

class RelayFaultTest : public RelayTest {
 protected:
  std::string Send(const char* kind) {
    if (std::string(kind) == "chat") return Chat(kBob, "/tp home");
    if (std::string(kind) == "console") return Console(kBob, "summon Rex");
    return Rcon("saveworld");
  }
};

constexpr const char* kKinds[] = {"chat", "console", "rcon"};

TEST_F(RelayFaultTest, AFailingSiblingOperationCostsOnlyThatReport) {
  struct Fault {
    const char* sibling;
    const char* operation;
    bool touches_rcon;
  };
  const Fault faults[] = {
      {"relay", "MakeTimeString", true},
      {"relay", "EscapeString", true},
      {"relay", "QueuePacket", true},
      {"permissions", "GetPlayerGroups", false},
      {"permissions", "GetSteamIdFromController", false},
      {"permissions", "GetSteamName", false},
  };
  Load(Config());
  for (const Fault& fault : faults) {
    const auto fail = [&](const char* operation) {
      if (std::string(fault.sibling) == "relay") {
        server_->relay()->FailOperation(operation);
      } else {
        server_->permissions()->FailOperation(operation);
      }
    };
    for (const char* kind : kKinds) {
      fail(fault.operation);
      const std::string during = Send(kind);
      const bool spared = std::string(kind) == "rcon" && !fault.touches_rcon;
      EXPECT_EQ(during.empty(), !spared) << fault.operation << " " << kind;
      fail("");
      EXPECT_NE(Send(kind), "") << "after " << fault.operation << " " << kind;
    }
  }
}

TEST_F(RelayFaultTest, AMissingSiblingStopsOnlyTheReportsThatNeedIt) {
  struct Case {
    bool with_relay;
    bool with_permissions;
  };
  for (const Case c : {Case{false, true}, Case{true, false}, Case{false, false}}) {
    Load(Config(), c.with_relay, c.with_permissions);
    // A plugin that bound a sibling holds it for good, so in a process where an earlier test
    // reported, a sibling left out by this server can still be there.
    const bool permissions = ModuleLoader::IsLoaded("Permissions");
    for (const char* kind : kKinds) {
      const std::string shown = Send(kind);  // the game's function ran once: Send checks it
      const bool reported = c.with_relay && (permissions || std::string(kind) == "rcon");
      EXPECT_EQ(!shown.empty(), reported) << kind;
    }
    server_.reset();
  }
}

TEST_F(RelayFaultTest, AStaffGroupThatIsNotAStringCostsOnlyTheConsoleReport) {
  Load(Config(R"("LogEverything": true, "StaffGroups": [7])"));
  EXPECT_EQ(Console(kAlice, "summon"), "");
  EXPECT_NE(Chat(kAlice, "/tp"), "");
  EXPECT_NE(Rcon("saveworld"), "");
}

TEST_F(RelayFaultTest, RunningOutOfGameMemoryAtAnyStepCostsOnlyThatReport) {
  Load(Config());
  for (const char* kind : kKinds) {
    // Count the allocations one report takes (the game's own text among them), then fail each
    // of the plugin's in turn.
    const auto before = GameAllocator::Allocations();
    ASSERT_NE(Send(kind), "");
    const auto needed = GameAllocator::Allocations() - before;
    for (std::uint64_t nth = 1; nth <= needed; ++nth) {
      server_->game().FailAllocationInNextCall(nth);
      Send(kind);  // reported or not, the game's function runs once and nothing leaks
      EXPECT_NE(Send(kind), "") << kind << " after failing allocation " << nth;
    }
  }
}

}  // namespace
