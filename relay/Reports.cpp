#include "Reports.h"

#include <spdlog/fmt/fmt.h>

#include "Permissions.h"
#include "ReportText.h"
#include "Skyparley.h"

namespace Tallyrook {

namespace {

// Fills a template known only at run time, as both fmt lines take one: fmt 4 (the host's
// spdlog 0.x) formats any string, later versions through vformat.
template <typename... Values>
std::string Fill(std::string_view report_template, const Values&... values) {
#if FMT_VERSION >= 50000
  return fmt::vformat(report_template, fmt::make_format_args(values...));
#else
  return fmt::format(std::string(report_template), values...);
#endif
}

std::string Escaped(const ReportValue& value) {
  std::string utf8 = ToUtf8(value);
  Skyparley::EscapeString(utf8);
  return utf8;
}

}  // namespace

PlayerDetails GatherPlayerDetails(AController* controller) {
  PlayerDetails player;
  player.time = Skyparley::MakeTimeString();
  ArkApi::GetApiUtils();
  player.steam_id = ArkApi::IApiUtils::GetSteamIdFromController(controller);
  ArkApi::GetApiUtils();
  player.steam_name = ArkApi::IApiUtils::GetSteamName(controller);
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
                             FStringView shown_name, FStringView command) {
  ReportValue inert_command = InertText(command);
  ReportValue inert_name = InertText(shown_name);
  ReportValue inert_groups = InertText(player.joined_groups.View());
  // The Steam name is a player's choice too, so it is cut last rather than trusted.
  FitInOneMessage(DeliveredTemplateLength(report_template) + Utf16Length(player.time) +
                      DecimalDigits(player.steam_id),
                  {&inert_command, &inert_groups, &inert_name});
  const std::string escaped_command = Escaped(inert_command);
  const std::string escaped_name = Escaped(inert_name);
  const std::string escaped_groups = Escaped(inert_groups);
  return Fill(report_template, player.time, escaped_groups, escaped_name, player.steam_id,
              escaped_command);
}

std::string FillRconReport(const std::string& time, FStringView command) {
  ReportValue inert_command = InertText(command);
  FitInOneMessage(DeliveredTemplateLength(RconReportTemplate) + Utf16Length(time),
                  {&inert_command});
  const std::string escaped_command = Escaped(inert_command);
  return Fill(RconReportTemplate, time, escaped_command);
}

}  // namespace Tallyrook
