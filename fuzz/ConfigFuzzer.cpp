// Arbitrary bytes as config.json: parsing and building must answer yes or no, and a built
// configuration must route any command without failing.
#include <cstddef>
#include <cstdint>
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
    const FString commands[] = {FString::FromUtf8("/kick bob"), FString::FromUtf8("saveworld"),
                                FString()};
    for (const FString& command : commands) {
      for (const CommandKind kind : {CommandKind::Chat, CommandKind::Console, CommandKind::Rcon}) {
        if (!InstalledChannelGroups->Route(command, kind)) {
          (void)InstalledChannelGroups->FindByIdentifier("Default", kind);
        }
        (void)IsListed(command, InstalledCommandLists->BlacklistChatCommands);
      }
    }
    TArray<FString> groups;
    groups.Add(FString::FromUtf8("Admins"));
    try {
      (void)IsStaffMember(groups);
      (void)LogEverything();
    } catch (const ConfigError&) {
      // A document that breaks these at command time is reported, not a crash.
    }
  }
  InstalledChannelGroups.reset();
  InstalledCommandLists.reset();
  ConfigDocument = nullptr;
  return 0;
}
