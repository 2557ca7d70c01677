// The emulated game server: its players, and the three game functions that plugins hook, each
// called through the host's hook table from whichever thread the caller is on. After every call
// the game checks that its own function ran exactly once with the arguments it was given, that
// the game's text came back unchanged and, when no other call overlapped it, that no game memory
// was left behind; each broken rule is kept as a violation.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <mutex>
#include <string>
#include <vector>

#include "GameObjects.h"
#include "GameRecords.h"

struct GameFunctionEntry;

class Game {
 public:
  static constexpr const char* kChatFunction =
      "AShooterPlayerController.ServerSendChatMessage_Implementation";
  static constexpr const char* kConsoleFunction = "APlayerController.ConsoleCommand";
  static constexpr const char* kRconFunction = "RCONClientConnection.ProcessRCONPacket";
  static constexpr const char* kAdminField = "APlayerController.bIsAdmin";

  // The one game of the process: its functions are registered with the one host.
  static Game& Instance();
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  // Adds a player, or returns the one with that Steam ID (its name and admin bit then unchanged).
  EmulatedController& Player(uint64 steam_id, FStringView name = {}, bool admin = false);
  // Every player leaves, as at a new game: no controller of theirs may be in use.
  void ForgetPlayers();

  void SendChat(EmulatedController& player, FStringView message, std::int32_t mode = 0);
  void ConsoleCommand(EmulatedController& player, FStringView command, bool write_to_log = false);
  void ReceiveRconPacket(std::int32_t type, FStringView body);

  // Makes the `nth` game allocation inside the next hooked call fail, as if memory ran out.
  void FailAllocationInNextCall(std::uint64_t nth) { fail_allocation_in_next_call_ = nth; }

  // Each run of a game function is entered in the host's call record as "game chat",
  // "game console" or "game rcon".
  std::vector<std::string> TakeViolations();

 private:
  // Registers the allocator, the hookable functions and the admin bit with the host.
  Game();
  template <typename Invoke>
  void Run(const char* kind, std::initializer_list<const void*> arguments, Invoke invoke);
  // The game's own functions, with the game's own records.
  using ChatFunction = void (*)(EmulatedController* controller, GameText* message,
                                std::int32_t mode);
  using ConsoleFunction = GameText* (*)(EmulatedController* controller, GameText* result,
                                        GameText* command, bool write_to_log);
  using RconFunction = void (*)(void* connection, GameRconPacket* packet, void* world);
  static void ChatOriginal(EmulatedController* controller, GameText* message, std::int32_t mode);
  static GameText* ConsoleOriginal(EmulatedController* controller, GameText* result,
                                   GameText* command, bool write_to_log);
  static void RconOriginal(void* connection, GameRconPacket* packet, void* world);
  // A text for the game's next call, in the next of the shapes the host allows.
  GameText NextText(FStringView text);

  void OwnFunctionRan(const char* kind, std::array<const void*, 4> arguments);
  void Violation(std::string text);

  GameFunctionEntry& chat_;
  GameFunctionEntry& console_;
  GameFunctionEntry& rcon_;
  std::mutex players_mutex_;
  std::deque<EmulatedController> players_;  // controllers never move
  std::atomic<int> calls_in_flight_{0};
  std::atomic<std::uint64_t> calls_started_{0};
  std::atomic<std::uint64_t> text_shapes_{0};
  std::atomic<std::uint64_t> fail_allocation_in_next_call_{0};
  std::mutex record_mutex_;
  std::vector<std::string> violations_;
};
