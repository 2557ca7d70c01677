#include "Detours.h"

#include "ArkApi.h"
#include "Relay.h"
#include "Reports.h"

namespace Tallyrook {

ChatMessageFunction ChatMessageOriginal = nullptr;
ConsoleCommandFunction ConsoleCommandOriginal = nullptr;
RconPacketFunction RconPacketOriginal = nullptr;

namespace {

constexpr RelayKind kChat{CommandKind::Chat, &CommandLists::BlacklistChatCommands,
                          &CommandLists::IgnoreChatCommands, &CommandLists::RedactChatCommands};
constexpr RelayKind kConsole{CommandKind::Console, &CommandLists::BlacklistConsoleCommands,
                             &CommandLists::IgnoreConsoleCommands,
                             &CommandLists::RedactConsoleCommands};
constexpr RelayKind kRcon{CommandKind::Rcon, &CommandLists::BlacklistRconCommands,
                          &CommandLists::IgnoreRconCommands, &CommandLists::RedactRconCommands};

bool IsAdministrator(const APlayerController* controller) {
  return ReadBitField(ArkApi::GetBitField(controller, "APlayerController.bIsAdmin")) != 0;
}

void ReportChat(AShooterPlayerController* controller, const FString& message) {
  if (!IsChatCommand(message)) return;
  RelayCommand(
      message, kChat, [] { return false; },
      [&](FStringView shown_command, auto queue) {
        const PlayerDetails player = GatherPlayerDetails(controller);
        queue(
            FillPlayerReport(ChatReportTemplate, player, player.steam_name.View(), shown_command));
      });
}

void ReportConsole(APlayerController* controller, const FString& command) {
  RelayCommand(
      command, kConsole, [&] { return IsAdministrator(controller) && LogEverything(); },
      [&](FStringView shown_command, auto queue) {
        const PlayerDetails player = GatherPlayerDetails(controller);
        const FStringView shown_name =
            IsStaffMember(player.groups) ? player.steam_name.View() : kNotAStaffMember;
        queue(FillPlayerReport(ConsoleReportTemplate, player, shown_name, shown_command));
      });
}

void ReportRcon(const RCONPacket& packet) {
  // An authentication packet's body is the server's RCON password.
  if (packet.Type == kRconAuthenticationRequest) return;
  RelayCommand(
      packet.Body, kRcon, [] { return LogEverything(); },
      [](FStringView shown_command, auto queue) {
        queue(FillRconReport(Skyparley::MakeTimeString(), shown_command));
      });
}

}  // namespace

void ChatMessageDetour(AShooterPlayerController* controller, FString* message, std::int32_t mode) {
  ReportSafely([&] { ReportChat(controller, *message); });
  ChatMessageOriginal(controller, message, mode);
}

FString* ConsoleCommandDetour(APlayerController* controller, FString* result, FString* command,
                              bool write_to_log) {
  ReportSafely([&] { ReportConsole(controller, *command); });
  return ConsoleCommandOriginal(controller, result, command, write_to_log);
}

void RconPacketDetour(RCONClientConnection* connection, RCONPacket* packet, UWorld* world) {
  ReportSafely([&] { ReportRcon(*packet); });
  RconPacketOriginal(connection, packet, world);
}

}  // namespace Tallyrook
