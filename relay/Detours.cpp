#include "Detours.h"

#include <optional>

#include "ArkApi.h"
#include "Relay.h"
#include "Reports.h"

namespace Tallyrook {

ChatMessageFunction ChatMessageOriginal = nullptr;
ConsoleCommandFunction ConsoleCommandOriginal = nullptr;
RconPacketFunction RconPacketOriginal = nullptr;

namespace {

// A player's side of a command: the administrator bit, and the details the reports carry, gathered
// at the first need and kept for the report.
class PlayerSender final : public CommandSender {
 public:
  explicit PlayerSender(APlayerController* controller) noexcept : controller_(controller) {}

  bool IsAdministrator() const override {
    return ReadBitField(GetBitField(controller_, "APlayerController.bIsAdmin")) != 0;
  }
  const TArray<FString>& PermissionGroups() const override { return Details().groups; }
  const PlayerDetails& Details() const {
    if (!details_) details_ = GatherPlayerDetails(controller_);
    return *details_;
  }

 private:
  APlayerController* controller_;
  mutable std::optional<PlayerDetails> details_;
};

// An RCON connection has no player: the decision asks it nothing.
class RconSender final : public CommandSender {
 public:
  bool IsAdministrator() const override { return false; }
  const TArray<FString>& PermissionGroups() const override { return no_groups_; }

 private:
  TArray<FString> no_groups_;
};

void ReportChat(AShooterPlayerController* controller, const FString& message) {
  const PlayerSender sender(controller);
  RelayCommand(message, CommandKind::Chat, sender,
               [&](const CommandDecision&, FStringView shown_command, auto queue) {
                 const PlayerDetails& player = sender.Details();
                 queue(FillPlayerReport(ChatReportTemplate, player, player.steam_name.View(),
                                        shown_command));
               });
}

void ReportConsole(APlayerController* controller, const FString& command) {
  const PlayerSender sender(controller);
  RelayCommand(command, CommandKind::Console, sender,
               [&](const CommandDecision& decision, FStringView shown_command, auto queue) {
                 const PlayerDetails& player = sender.Details();
                 const FStringView shown_name =
                     decision.staff == Staff::Member ? player.steam_name.View() : kNotAStaffMember;
                 queue(FillPlayerReport(ConsoleReportTemplate, player, shown_name, shown_command));
               });
}

void ReportRcon(const RCONPacket& packet) {
  // An authentication packet's body is the server's RCON password.
  if (packet.Type == kRconAuthenticationRequest) return;
  RelayCommand(packet.Body, CommandKind::Rcon, RconSender(),
               [](const CommandDecision&, FStringView shown_command, auto queue) {
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
