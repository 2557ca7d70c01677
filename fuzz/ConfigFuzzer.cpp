// Arbitrary bytes as config.json: parsing and building must answer yes or no, and a built
// configuration must route any command without failing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "Configuration.h"
#include "Game.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Game& game = Game::Instance();  // the configuration's texts live in game memory
  (void)game;
  using namespace Tallyrook;
  std::istringstream text(std::string(reinterpret_cast<const char*>(data), size));
  try {
    ConfigDocument = ParseConfiguration(text);
  } catch (const Json::exception&) {
    return 0;
  }
  if (InitializeManager()) {
    // Whatever the document holds, each decision answers: nothing it reads may throw.
    struct Player final : CommandSender {
      bool IsAdministrator() const override { return true; }
      const TArray<FString>& PermissionGroups() const override { return groups; }
      TArray<FString> groups;
    } player;
    player.groups.Add(FString::FromUtf8("Admins"));
    const FString commands[] = {FString::FromUtf8("/kick bob"), FString::FromUtf8("saveworld"),
                                FString()};
    for (const FString& command : commands) {
      for (const CommandKind kind : {CommandKind::Chat, CommandKind::Console, CommandKind::Rcon}) {
        const CommandDecision decision = Decide(InstalledConfiguration(), kind, command, player);
        if (decision.Reported() && !decision.channel) std::abort();
      }
    }
  }
  InstalledChannelGroups.reset();
  InstalledCommandLists.reset();
  ConfigDocument = nullptr;
  return 0;
}
