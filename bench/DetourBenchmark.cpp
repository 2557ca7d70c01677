// What each command costs the game thread that sends it: the three detours end to end through
// the emulated host, with 0 to 64 channel groups, beside the floor of the routing structure
// (launching and joining as many no-op tasks) and an in-order scan of the same groups inline.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <future>
#include <memory>
#include <vector>

#include "BenchServer.h"
#include "ChannelGroups.h"
#include "GameAllocator.h"
#include "Relay.h"
#include "Reports.h"
#include "Server.h"

namespace {

LoadedServer& ServerWith(int groups) {
  static std::unique_ptr<LoadedServer> server;
  static int server_groups = -1;
  if (groups != server_groups) {
    server.reset();  // one plugin loaded at a time
    server = std::make_unique<LoadedServer>(groups);
    server_groups = groups;
  }
  return *server;
}

enum Kind { kChat, kConsole, kRcon };
enum Path { kRouted, kFallback, kBlacklisted };

void Detour(benchmark::State& state, Kind kind, Path path) {
  const int groups = static_cast<int>(state.range(0));
  LoadedServer& loaded = ServerWith(groups);
  Game& game = loaded.server().game();
  const char* word = path == kRouted ? "routed" : path == kFallback ? "unlisted" : "blocked";
  const std::string command = (kind == kChat ? "/" : "") + std::string(word) + " 12 1";
  const FString text = FString::FromUtf8(command);
  const auto queued = loaded.server().relay()->QueuedPackets();
  const auto allocations = GameAllocator::Allocations();
  for (auto _ : state) {
    if (kind == kChat) game.SendChat(loaded.player(), text.View());
    if (kind == kConsole) game.ConsoleCommand(loaded.player(), text.View());
    if (kind == kRcon) game.ReceiveRconPacket(2, text.View());
  }
  const auto iterations = static_cast<double>(state.iterations());
  state.counters["allocs/cmd"] =
      static_cast<double>(GameAllocator::Allocations() - allocations) / iterations;
  state.counters["reports/cmd"] =
      static_cast<double>(loaded.server().relay()->QueuedPackets() - queued) / iterations;
  if (!game.TakeViolations().empty()) state.SkipWithError("the game saw a broken rule");
}

// The floor of routing: as many asynchronous tasks as groups, launched and joined, doing nothing.
void AsyncFloor(benchmark::State& state) {
  const auto tasks = static_cast<std::size_t>(state.range(0));
  for (auto _ : state) {
    std::vector<std::future<int>> futures;
    futures.reserve(tasks);
    for (std::size_t i = 0; i < tasks; ++i)
      futures.push_back(std::async(std::launch::async, [] { return 0; }));
    for (auto& future : futures) benchmark::DoNotOptimize(future.get());
  }
}

// The same routing decision as an in-order scan on the calling thread.
void InlineScan(benchmark::State& state) {
  const int groups = static_cast<int>(state.range(0));
  Game::Instance();
  const auto list = Tallyrook::BuildChannelGroupList(Config(groups));
  const FString command = FString::FromUtf8("routed 12 1");
  for (auto _ : state) {
    Tallyrook::ChannelDataRef found;
    const FStringView name = Tallyrook::FirstWord(command.View());
    for (const auto& group : list->Groups) {
      const auto* channel = group->ChannelFor(Tallyrook::CommandKind::Console);
      if (Tallyrook::FirstListed(name, channel->Commands)) {
        found = channel->ChannelData;
        break;
      }
    }
    benchmark::DoNotOptimize(found);
  }
}

// The detour's own work beyond routing, on the game thread: the blacklist and ignore tests,
// gathering the player's details, filling the report and queuing it, with the plugin's own
// code (linked in) calling the loaded sibling stand-ins. `length` pads the command to that many
// characters, so that a report over Discord's limit is measured with its cut.
void ReportWithoutRouting(benchmark::State& state, Kind kind, std::size_t length) {
  LoadedServer& loaded = ServerWith(1);
  std::string text = kind == kChat ? "/routed 12 1" : "routed 12 1";
  text.resize(std::max(text.size(), length), 'x');
  const FString command = FString::FromUtf8(text);
  const Tallyrook::CommandList lists[3] = {
      {FString::FromUtf8("/blocked")}, {FString::FromUtf8("fly")}, {}};
  const auto channel = std::make_shared<const Tallyrook::DiscordChannelData>("tag", "bot");
  const auto allocations = GameAllocator::Allocations();
  for (auto _ : state) {
    const FStringView name = Tallyrook::FirstWord(command.View());
    if (Tallyrook::FirstListed(name, lists[0]) || Tallyrook::FirstListed(name, lists[1])) continue;
    std::string content;
    if (kind == kRcon) {
      content = Tallyrook::FillRconReport(Skyparley::MakeTimeString(), command.View());
    } else {
      const Tallyrook::PlayerDetails player = Tallyrook::GatherPlayerDetails(&loaded.player());
      content = Tallyrook::FillPlayerReport(
          kind == kChat ? Tallyrook::ChatReportTemplate : Tallyrook::ConsoleReportTemplate, player,
          player.steam_name.View(), command.View());
    }
    Skyparley::QueuePacket({channel->ChannelTag, channel->BotName, std::move(content)});
  }
  state.counters["allocs/cmd"] = static_cast<double>(GameAllocator::Allocations() - allocations) /
                                 static_cast<double>(state.iterations());
}

void Sizes(benchmark::internal::Benchmark* benchmark) {
  for (const int groups : {0, 1, 4, 16, 64}) benchmark->Arg(groups);
  benchmark->ArgName("groups")->UseRealTime();
}

BENCHMARK_CAPTURE(Detour, chat_routed, kChat, kRouted)->Apply(Sizes);
BENCHMARK_CAPTURE(Detour, chat_fallback, kChat, kFallback)->Apply(Sizes);
BENCHMARK_CAPTURE(Detour, chat_blacklisted, kChat, kBlacklisted)->Apply(Sizes);
BENCHMARK_CAPTURE(Detour, console_routed, kConsole, kRouted)->Apply(Sizes);
BENCHMARK_CAPTURE(Detour, console_fallback, kConsole, kFallback)->Apply(Sizes);
BENCHMARK_CAPTURE(Detour, console_blacklisted, kConsole, kBlacklisted)->Apply(Sizes);
BENCHMARK_CAPTURE(Detour, rcon_routed, kRcon, kRouted)->Apply(Sizes);
BENCHMARK_CAPTURE(Detour, rcon_fallback, kRcon, kFallback)->Apply(Sizes);
BENCHMARK_CAPTURE(Detour, rcon_blacklisted, kRcon, kBlacklisted)->Apply(Sizes);
BENCHMARK_CAPTURE(ReportWithoutRouting, chat, kChat, 0);
BENCHMARK_CAPTURE(ReportWithoutRouting, console, kConsole, 0);
BENCHMARK_CAPTURE(ReportWithoutRouting, rcon, kRcon, 0);
BENCHMARK_CAPTURE(ReportWithoutRouting, chat_2000_characters, kChat, 2000);
BENCHMARK_CAPTURE(ReportWithoutRouting, console_2000_characters, kConsole, 2000);
BENCHMARK_CAPTURE(ReportWithoutRouting, rcon_2000_characters, kRcon, 2000);
BENCHMARK(AsyncFloor)->Apply(Sizes);
BENCHMARK(InlineScan)->Apply(Sizes);

}  // namespace

BENCHMARK_MAIN();
