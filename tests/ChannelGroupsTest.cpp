#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "ChannelGroups.h"
#include "EmulatedServerFixture.h"
#include "FirstInOrder.h"

namespace {

using Tallyrook::BuildChannelGroupList;
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

// The tag of the channel a route or the fallback gives, "none" for neither.
std::string Tag(const Tallyrook::ChannelGroupList& list, std::optional<std::size_t> group,
                CommandKind kind) {
  if (!group) return "none";
  const Tallyrook::CommandChannel* channel = list.Groups[*group]->ChannelFor(kind);
  return channel != nullptr ? channel->ChannelData->ChannelTag : "none";
}

std::optional<std::size_t> Routed(const Tallyrook::ChannelGroupList& list, const char* command,
                                  CommandKind kind) {
  const FString text = FString::FromUtf8(command);
  const auto hit = list.Route(Tallyrook::FirstWord(text.View()), kind);
  return hit ? std::optional<std::size_t>(hit->group) : std::nullopt;
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
    EXPECT_EQ(Tag(*list, Routed(*list, c.command, c.kind), c.kind), c.route) << c.command;
    EXPECT_EQ(Tag(*list, list->FindByIdentifier(Tallyrook::kFallbackGroup), c.kind), c.fallback)
        << c.command;
  }
  EXPECT_EQ(list->FindByIdentifier("DEFAULT"), std::nullopt);
  EXPECT_EQ(list->FindByIdentifier("default"), 3u);
  // The entry that routed the command, for explain.
  const FString ban = FString::FromUtf8("/BAN");
  EXPECT_EQ(list->Route(ban.View(), CommandKind::Chat)->entry, 1u);
}

TEST_F(ChannelGroupsTest, OfTwoDefaultGroupsTheFirstIsTheFallbackAndNoGroupsRouteNothing) {
  const auto two = BuildChannelGroupList(Json::parse(
      "{\"ChannelGroups\":[" + Group("Default", "[]") + "," + Group("Default", "[]") + "]}"));
  EXPECT_EQ(two->Groups.size(), 2u);
  EXPECT_EQ(two->FindByIdentifier(Tallyrook::kFallbackGroup), 0u);

  for (const char* document : {"{}", "null", R"({"ChannelGroups":[]})"}) {
    const auto none = BuildChannelGroupList(Json::parse(document));
    EXPECT_EQ(Routed(*none, "/kick", CommandKind::Chat), std::nullopt);
    EXPECT_EQ(none->FindByIdentifier(Tallyrook::kFallbackGroup), std::nullopt);
  }
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
  // Task 0 hits at once; the others are held until its result is moved out to be returned, the
  // last moment before the function could return, so only a wait for them makes them finish
  // before it does.
  constexpr std::size_t kTasks = 8;
  std::atomic<std::size_t> finished{0};
  Gate returning;
  struct Hit {
    Gate* returning = nullptr;
    Hit() = default;
    explicit Hit(Gate* gate) : returning(gate) {}
    Hit(Hit&& other) noexcept : returning(other.returning) {
      if (returning != nullptr) returning->Open();
    }
    Hit& operator=(Hit&& other) noexcept {
      returning = other.returning;
      return *this;
    }
    explicit operator bool() const { return returning != nullptr; }
  };
  const Hit result = Tallyrook::FirstInOrder<Hit>(kTasks, [&](std::size_t i) {
    if (i == 0) return Hit(&returning);
    returning.Wait();
    ++finished;
    return Hit();
  });
  EXPECT_TRUE(result);
  EXPECT_EQ(finished.load(), kTasks - 1);
}

TEST(FirstInOrderTest, AllTasksStartBeforeAnyResultIsTakenAndAllFinishBeforeAnErrorPasses) {
  // Task 0 can only finish once every task has started: a launch that waited for results first
  // would never get there. Tasks 1 and 3 fail; the first in order is passed on, and its
  // exception lives while the caller handles it, then is gone.
  constexpr std::size_t kTasks = 6;
  static std::atomic<int> live{0};
  struct Counted {
    Counted() { ++live; }
    Counted(const Counted&) { ++live; }
    ~Counted() { --live; }
  };
  std::atomic<std::size_t> started{0};
  std::atomic<std::size_t> finished{0};
  Gate all_started;
  const auto run = [&](std::size_t i) -> std::shared_ptr<int> {
    if (++started == kTasks) all_started.Open();
    all_started.Wait();
    ++finished;
    if (i == 1 || i == 3) throw Counted();
    return nullptr;
  };
  try {
    Tallyrook::FirstInOrder<std::shared_ptr<int>>(kTasks, run);
    ADD_FAILURE() << "no exception";
  } catch (const Tallyrook::TaskFailed& failed) {
    EXPECT_EQ(failed.task, 1u);
    EXPECT_NE(failed.error, nullptr);
    EXPECT_EQ(live.load(), 1);
  }
  EXPECT_EQ(live.load(), 0);
  EXPECT_EQ(finished.load(), kTasks);
}

}  // namespace
