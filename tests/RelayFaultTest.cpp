#include <gtest/gtest.h>

#include "EmulatedHost.h"
#include "GameAllocator.h"
#include "ModuleLoader.h"
#include "RelayTestSupport.h"

namespace {

using namespace relay_test;

class RelayFaultTest : public RelayTest {
 protected:
  // The report each kind's command gives when nothing fails.
  static std::string Expected(const char* kind) {
    if (std::string(kind) == "chat") {
      return "chat|Tally|" + ChatReport("Players", "Bob", kBobId, "/tp home");
    }
    if (std::string(kind) == "console") {
      return "console|Tally|" +
             ConsoleReport("Players", "Not a staff member", kBobId, "summon Rex");
    }
    return "admin-rcon|Rook|" + RconReport("saveworld");
  }
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
      EXPECT_EQ(during, spared ? Expected(kind) : "") << fault.operation << " " << kind;
      fail("");
      EXPECT_EQ(Send(kind), Expected(kind)) << "after " << fault.operation << " " << kind;
    }
  }
}

TEST_F(RelayFaultTest, AMissingSiblingStopsOnlyTheReportsThatNeedIt) {
  // A plugin that bound a sibling holds it for good, so Permissions can be missing only in a
  // process where no plugin has bound it yet: ctest runs each test in a process of its own, and
  // the cases come in an order in which none binds it before the last.
  if (ModuleLoader::IsLoaded("Permissions")) {
    GTEST_SKIP() << "an earlier test of this process holds Permissions";
  }
  struct Case {
    bool with_relay;
    bool with_permissions;
  };
  for (const Case c : {Case{true, false}, Case{false, false}, Case{false, true}}) {
    Load(Config(), c.with_relay, c.with_permissions);
    for (const char* kind : kKinds) {
      const std::string shown = Send(kind);  // the game's function ran once: Send checks it
      const bool reported = c.with_relay && (c.with_permissions || std::string(kind) == "rcon");
      EXPECT_EQ(shown, reported ? Expected(kind) : "") << kind;
    }
    server_.reset();
  }
}

TEST_F(RelayFaultTest, AStaffGroupThatIsNotAStringCostsOnlyTheConsoleReport) {
  Load(Config(R"("LogEverything": true, "StaffGroups": [7])"));
  EXPECT_EQ(Console(kAlice, "summon"), "");
  EXPECT_EQ(Chat(kAlice, "/tp"),
            "chat|Tally|" + ChatReport("Admins, Players", "Alice", kAliceId, "/tp"));
  EXPECT_EQ(Rcon("saveworld"), Expected("rcon"));
}

TEST_F(RelayFaultTest, RunningOutOfGameMemoryAtAnyStepCostsOnlyThatReport) {
  Load(Config());
  for (const char* kind : kKinds) {
    // Count the allocations one report takes (the game's own text among them), then fail each
    // of the plugin's in turn.
    const auto before = GameAllocator::Allocations();
    ASSERT_EQ(Send(kind), Expected(kind));
    const auto needed = GameAllocator::Allocations() - before;
    for (std::uint64_t nth = 1; nth <= needed; ++nth) {
      server_->game().FailAllocationInNextCall(nth);
      Send(kind);  // reported or not, the game's function runs once and nothing leaks
      EXPECT_EQ(Send(kind), Expected(kind)) << kind << " after failing allocation " << nth;
    }
  }
}

}  // namespace
