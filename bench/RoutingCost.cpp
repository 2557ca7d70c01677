// What routing a command costs on this platform, side by side in one run: a routed chat command
// through the loaded plugin, the same number of no-op tasks on the system's task batch (the
// routing's floor) and on std::async (what routing cost before it used the system's thread pool
// on Windows), and the same routing decision as an in-order scan inline. Timed by hand rather
// than with a benchmark library, so that it builds and runs in every lane, under wine too.
#include <chrono>
#include <cstdio>
#include <future>
#include <vector>

#include "BenchServer.h"
#include "ChannelGroups.h"
#include "Platform.h"

namespace {

// Microseconds per run of `work`, over at least 5 runs and 300 ms.
template <typename Work>
double MicrosecondsPer(Work work) {
  using Clock = std::chrono::steady_clock;
  work();  // warm up
  std::size_t runs = 0;
  const auto start = Clock::now();
  auto now = start;
  do {
    work();
    ++runs;
    now = Clock::now();
  } while (runs < 5 || now - start < std::chrono::milliseconds(300));
  return std::chrono::duration<double, std::micro>(now - start).count() / static_cast<double>(runs);
}

void NoTask(void* /*context*/, std::size_t /*index*/) noexcept {}

}  // namespace

int main() {
  std::printf(
      "| groups | routed chat command | no-op tasks, system task batch | no-op tasks, std::async "
      "| in-order scan inline |\n|---:|---:|---:|---:|---:|\n");
  int status = 0;
  for (const int groups : {1, 4, 16, 64}) {
    LoadedServer loaded(groups);
    Game& game = loaded.server().game();
    const FString command = FString::FromUtf8("/routed 12 1");
    const double routed = MicrosecondsPer([&] { game.SendChat(loaded.player(), command.View()); });
    const auto tasks = static_cast<std::size_t>(groups);
    const double batch =
        MicrosecondsPer([&] { Platform::TaskBatch(tasks, &NoTask, nullptr).Wait(tasks - 1); });
    const double async = MicrosecondsPer([&] {
      std::vector<std::future<void>> futures;
      for (std::size_t i = 0; i < tasks; ++i)
        futures.push_back(std::async(std::launch::async, [] {}));
    });
    const auto list = Tallyrook::BuildChannelGroupList(Config(groups));
    const double scan = MicrosecondsPer([&] {
      const FStringView name = Tallyrook::FirstWord(command.View());
      for (const auto& group : list->Groups) {
        if (Tallyrook::FirstListed(name, group->ChannelFor(Tallyrook::CommandKind::Chat)->Commands))
          break;
      }
    });
    std::printf("| %d | %.1f µs | %.1f µs | %.1f µs | %.2f µs |\n", groups, routed, batch, async,
                scan);
    if (!game.TakeViolations().empty()) status = 1;
  }
  return status;
}
