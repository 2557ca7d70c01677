// The report texts: three fixed templates, filled left to right with values that are inserted
// literally, and the player details that chat and console reports carry.
#pragma once

#include <string>
#include <string_view>

#include "ArkApi.h"
#include "FString.h"

namespace Tallyrook {

// Each \n is the two characters backslash and n: the relay plugin passes them on as they are.
inline constexpr std::string_view ChatReportTemplate =
    "```Chat Command Received\\nDate / Time: {}\\nRanks: {}\\nSteam Name: {}\\nSteamID: "
    "{}\\nCommand: {}```";
inline constexpr std::string_view ConsoleReportTemplate =
    "```Console Command Received\\nDate / Time: {}\\nRanks: {}\\nStaff Member Steam Name: "
    "{}\\nSteamID: {}\\nCommand: {}```";
inline constexpr std::string_view RconReportTemplate =
    "```RCON Command Received\\nDate / Time: {}\\nCommand: {}```";

inline constexpr FStringView kNotAStaffMember = FTEXT("Not a staff member");

// A player's details as the reports show them, gathered in the order of the outside calls: the
// time, the Steam ID, the Steam name, the permission groups.
struct PlayerDetails {
  std::string time;
  uint64 steam_id = 0;
  FString steam_name;
  TArray<FString> groups;
  FString joined_groups;  // the groups separated by ", "
};

PlayerDetails GatherPlayerDetails(AController* controller);

// The groups separated by ", ", with nothing after the last; an empty name keeps its place.
FString JoinGroups(const TArray<FString>& groups);

// Fills a chat or console template. The command, the shown name and the groups are made inert,
// fitted into one Discord message, converted to UTF-8 and escaped by the relay plugin.
std::string FillPlayerReport(std::string_view report_template, const PlayerDetails& player,
                             FStringView shown_name, FStringView command);
std::string FillRconReport(const std::string& time, FStringView command);

}  // namespace Tallyrook
