#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "ChannelGroups.h"
#include "EmulatedServerFixture.h"
#include "FirstInOrder.h"

namespace {

using Tallyrook::BuildChannelGroupList;
using Tallyrook::ChannelDataRef;
using Tallyrook::CommandKind;
using Tallyrook::Json;

class ChannelGroupsTest : public GameMemoryTest {};

// Groups named by their identifier; each channel's tag is "<identifier>/<kind>".
std::string Group(const std::string& identifier, const std::string& chat,
                  const std::string& console = "[]", const std::string& rcon = "[]") {
  const auto channel = [&](const char* kind, const std::string& commands) {
    return std::string(R"({"ChannelTag":")") + identifier + "/" + kind + R"(","BotName":"bot",)" +
           R"("Commands":)" + commands + "}";
  };
  return R"({"Identifier":")" + identifier + R"(","Chat":)" + channel("chat", chat) +
         R"(,"Console":)" + channel("console", console) + R"(,"Rcon":)" + channel("rcon", rcon) +
         "}";
}

std::string Tag(const ChannelDataRef& channel) {
  return channel ? channel->ChannelTag : "none";
}

TEST_F(ChannelGroupsTest, RoutingTakesTheFirstGroupInOrderThatListsTheCommandForItsKind) {
  const auto list = BuildChannelGroupList(
      Json::parse("{\"ChannelGroups\":[" + Group("admins", R"(["/kick","/ban"])", R"(["kick"])") +
                  "," + Group("Default", R"(["/ban"])", "[]", R"(["saveworld"])") + "," +
                  Group("mods", R"(["/KICK","/mute"])", R"(["/mute"])") + "," +
                  Group("default", R"([])") + "]}"));
  struct Case {
    const char* command;
    CommandKind kind;
    const char* route;
    const char* fallback;
  };
  const Case cases[] = {
      {"/kick bob", CommandKind::Chat, "admins/chat", "Default/chat"},
      {"/ban bob", CommandKind::Chat, "admins/chat", "Default/chat"},  // both list it: first wins
      {"/mute bob", CommandKind::Chat, "mods/chat", "Default/chat"},
      {"/mute bob", CommandKind::Console, "mods/console", "Default/console"},
      {"kick bob", CommandKind::Console, "admins/console", "Default/console"},
      {"kick bob", CommandKind::Chat, "none", "Default/chat"},           // listed for console only
      {"saveworld", CommandKind::Rcon, "Default/rcon", "Default/rcon"},  // Default routes too
      {"/unknown", CommandKind::Chat, "none", "Default/chat"},
      {"", CommandKind::Rcon, "none", "Default/rcon"},
      {"/kick", static_cast<CommandKind>(3), "none", "none"},
      {"/kick", static_cast<CommandKind>(-1), "none", "none"},
  };
  for (const Case& c : cases) {
    const FString command = FString::FromUtf8(c.command);
    EXPECT_EQ(Tag(list->Route(command, c.kind)), c.route) << c.command;
    EXPECT_EQ(Tag(list->FindByIdentifier("Default", c.kind)), c.fallback) << c.command;
  }
  EXPECT_EQ(Tag(list->FindByIdentifier("DEFAULT", CommandKind::Chat)), "none");
  EXPECT_EQ(Tag(list->FindByIdentifier("default", CommandKind::Chat)), "default/chat");
}

TEST_F(ChannelGroupsTest, OfTwoDefaultGroupsTheFirstIsTheFallbackAndNoGroupsRouteNothing) {
  const auto two = BuildChannelGroupList(Json::parse(
      "{\"ChannelGroups\":[" + Group("Default", "[]") + "," + Group("Default", "[]") + "]}"));
  EXPECT_EQ(two->Groups.size(), 2u);
  EXPECT_EQ(two->FindByIdentifier("Default", CommandKind::Console),
            two->Groups[0]->Console->ChannelData);

  for (const char* document : {"{}", "null", R"({"ChannelGroups":[]})"}) {
    const auto none = BuildChannelGroupList(Json::parse(document));
    EXPECT_EQ(none->Route(FString::FromUtf8("/kick"), CommandKind::Chat), nullptr);
    EXPECT_EQ(none->FindByIdentifier("Default", CommandKind::Chat), nullptr);
  }
}

TEST_F(ChannelGroupsTest, ARoutingResultOutlivesTheGroupsThatGaveIt) {
  auto list =
      BuildChannelGroupList(Json::parse("{\"ChannelGroups\":[" + Group("a", R"(["/x"])") + "]}"));
  const ChannelDataRef kept = list->Route(FString::FromUtf8("/x"), CommandKind::Chat);
  list.reset();
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(kept->ChannelTag, "a/chat");
}

TEST_F(ChannelGroupsTest, BuildErrorsNameTheirPlace) {
  const std::string channel = R"({"ChannelTag":"t","BotName":"b"})";
  struct Case {
    std::string document;
    const char* error;
  };
  const Case cases[] = {
      {R"({"ChannelGroups":"x"})",
       "ChannelGroups: cannot use operator[] with a string argument with string"},
      {R"({"ChannelGroups":[{}]})",
       "ChannelGroups[0].Identifier: type must be string, but is null"},
      {R"({"ChannelGroups":{"g":{"Identifier":"a"}}})",
       "ChannelGroups.g.Chat.ChannelTag: type must be string, but is null"},
      {R"({"ChannelGroups":[{"Identifier":"a","Chat":)" + channel +
           R"(,"Console":{"ChannelTag":"t","BotName":null}}]})",
       "ChannelGroups[0].Console.BotName: type must be string, but is null"},
      {R"({"ChannelGroups":[{"Identifier":"a","Chat":)" + channel + R"(,"Console":)" + channel +
           R"(,"Rcon":{"ChannelTag":"t","BotName":"b","Commands":[[]]}}]})",
       "ChannelGroups[0].Rcon.Commands[0]: type must be string, but is array"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ConfigErrorOf([&] { BuildChannelGroupList(Json::parse(c.document)); }), c.error)
        << c.document;
  }
}

// A gate the tasks of one test wait at, so that the order they finish in is the test's choice.
class Gate {
 public:
  void Open() {
    const std::lock_guard lock(mutex_);
    open_ = true;
    changed_.notify_all();
  }
  // Fails the test rather than hang should the gate never open (tasks that were deferred
  // until their results were asked for); no test waits near this long when it passes.
  void Wait() {
    std::unique_lock lock(mutex_);
    if (!changed_.wait_for(lock, std::chrono::seconds(60), [this] { return open_; })) {
      ADD_FAILURE() << "the gate never opened: the tasks did not all run at once";
      open_ = true;
      changed_.notify_all();
    }
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool open_ = false;
};

TEST(FirstInOrderTest, TheEarliestHitWinsEvenWhenItFinishesLast) {
  // Tasks 0, 2 and 4 hit; task 0 finishes only after all the others have.
  constexpr std::size_t kTasks = 5;
  Gate others_done;
  std::atomic<std::size_t> finished{0};
  const auto result =
      Tallyrook::FirstInOrder<std::shared_ptr<std::size_t>>(kTasks, [&](std::size_t i) {
        if (i == 0) others_done.Wait();
        auto hit = i % 2 == 0 ? std::make_shared<std::size_t>(i) : nullptr;
        if (++finished == kTasks - 1 && i != 0) others_done.Open();
        return hit;
      });
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(*result, 0u);
}

TEST(FirstInOrderTest, ReturnsOnlyAfterTheTasksWhoseResultsWereNotTakenHaveFinished) {
  constexpr std::size_t kTasks = 8;
  std::atomic<std::size_t> finished{0};
  const auto result = Tallyrook::FirstInOrder<std::shared_ptr<int>>(kTasks, [&](std::size_t i) {
    if (i == 0) return std::make_shared<int>(0);  // taken at once
    for (int k = 0; k < 20000; ++k) std::this_thread::yield();
    ++finished;
    return std::shared_ptr<int>();
  });
  EXPECT_NE(result, nullptr);
  EXPECT_EQ(finished.load(), kTasks - 1);
}

TEST(FirstInOrderTest, AllTasksStartBeforeAnyResultIsTakenAndAllFinishBeforeAnErrorPasses) {
  // Task 0 can only finish once every task has started: a launch that waited for results first
  // would never get there.
  constexpr std::size_t kTasks = 6;
  std::atomic<std::size_t> started{0};
  std::atomic<std::size_t> finished{0};
  Gate all_started;
  const auto run = [&](std::size_t i) -> std::shared_ptr<int> {
    if (++started == kTasks) all_started.Open();
    all_started.Wait();
    ++finished;
    if (i == 1) throw std::runtime_error("task 1 failed");
    return nullptr;
  };
  EXPECT_THROW(Tallyrook::FirstInOrder<std::shared_ptr<int>>(kTasks, run), std::runtime_error);
  EXPECT_EQ(finished.load(), kTasks);
}

}  // namespace
