#include "Reports.h"

#include <fmt/format.h>

#include "Permissions.h"
#include "Skyparley.h"

namespace Tallyrook {

namespace {

std::string Escaped(FStringView text) {
  std::string utf8 = ToUtf8(text);
  Skyparley::EscapeString(utf8);
  return utf8;
}

}  // namespace

PlayerDetails GatherPlayerDetails(AController* controller) {
  PlayerDetails player;
  player.time = Skyparley::MakeTimeString();
  ArkApi::GetApiUtils();
  player.steam_id = IApiUtils::GetSteamIdFromController(controller);
  ArkApi::GetApiUtils();
  player.steam_name = IApiUtils::GetSteamName(controller);
  player.groups = Permissions::GetPlayerGroups(player.steam_id);
  player.joined_groups = JoinGroups(player.groups);
  return player;
}

FString JoinGroups(const TArray<FString>& groups) {
  static constexpr FStringView kSeparator = FTEXT(", ");
  FString joined;
  for (const FString& group : groups) {
    joined += group;
    joined += kSeparator;
  }
  joined.LeftChopInline(static_cast<std::int32_t>(kSeparator.size()));
  return joined;
}

std::string FillPlayerReport(std::string_view report_template, const PlayerDetails& player,
                             FStringView shown_name, const FString& command) {
  const std::string escaped_command = Escaped(command.View());
  const std::string escaped_name = Escaped(shown_name);
  const std::string escaped_groups = Escaped(player.joined_groups.View());
  return fmt::format(fmt::runtime(report_template), player.time, escaped_groups, escaped_name,
                     player.steam_id, escaped_command);
}

std::string FillRconReport(const std::string& time, const FString& command) {
  return fmt::format(fmt::runtime(RconReportTemplate), time, Escaped(command.View()));
}

}  // namespace Tallyrook
