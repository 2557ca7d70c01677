#include "Game.h"

#include <array>
#include <cstring>
#include <exception>
#include <utility>

#include "EmulatedHost.h"
#include "GameAllocator.h"

namespace {

// The call the game is making on this thread, which its own function checks itself against.
struct PendingCall {
  const char* kind;
  std::array<const void*, 4> arguments;
  int runs = 0;
  bool arguments_match = true;
};

thread_local PendingCall* pending_call = nullptr;
Game* the_game = nullptr;

// Stand-ins for the connection and world objects the game passes with an RCON packet.
char rcon_connection_object;
char world_object;

// The bytes of a game object, to tell whether anybody wrote to it.
template <typename T>
std::array<unsigned char, sizeof(T)> BytesOf(const T& object) {
  std::array<unsigned char, sizeof(T)> bytes{};
  std::memcpy(bytes.data(), &object, sizeof(T));
  return bytes;
}

}  // namespace

Game& Game::Instance() {
  static Game game;
  return game;
}

Game::Game()
    : chat_(GetEmulatedHost().RegisterFunction(kChatFunction,
                                               reinterpret_cast<void*>(&ChatOriginal))),
      console_(GetEmulatedHost().RegisterFunction(kConsoleFunction,
                                                  reinterpret_cast<void*>(&ConsoleOriginal))),
      rcon_(GetEmulatedHost().RegisterFunction(kRconFunction,
                                               reinterpret_cast<void*>(&RconOriginal))) {
  EmulatedHost& host = GetEmulatedHost();
  host.RegisterAddress("FMemory.Malloc", reinterpret_cast<void*>(&GameAllocator::Malloc));
  host.RegisterAddress("FMemory.Realloc", reinterpret_cast<void*>(&GameAllocator::Realloc));
  host.RegisterAddress("FMemory.Free", reinterpret_cast<void*>(&GameAllocator::Free));
  EmulatedController sample;
  const auto offset = static_cast<std::size_t>(reinterpret_cast<char*>(&sample.flags) -
                                               reinterpret_cast<char*>(&sample));
  host.RegisterBitField(kAdminField, offset, kAdminBit, 1, sizeof sample.flags);
  the_game = this;
}

void Game::ForgetPlayers() {
  const std::lock_guard lock(players_mutex_);
  players_.clear();
}

EmulatedController& Game::Player(uint64 steam_id, FStringView name, bool admin) {
  const std::lock_guard lock(players_mutex_);
  for (EmulatedController& player : players_) {
    if (player.steam_id == steam_id) return player;
  }
  EmulatedController& player = players_.emplace_back();
  player.steam_id = steam_id;
  player.steam_name.assign(name);
  if (admin) player.flags |= 1u << kAdminBit;
  return player;
}

template <typename Invoke>
void Game::Run(const char* kind, std::initializer_list<const void*> arguments, Invoke invoke) {
  PendingCall call{kind, {}};
  std::copy(arguments.begin(), arguments.end(), call.arguments.begin());
  const std::uint64_t started = calls_started_.fetch_add(1) + 1;
  const bool alone_at_start = calls_in_flight_.fetch_add(1) == 0;
  const std::size_t live_before = GameAllocator::LiveBlocks();

  pending_call = &call;
  GameAllocator::FailAllocation(fail_allocation_in_next_call_.exchange(0));
  try {
    invoke();
  } catch (const std::exception& error) {
    Violation(std::string(kind) + ": exception reached the game: " + error.what());
  } catch (...) {
    Violation(std::string(kind) + ": exception reached the game");
  }
  pending_call = nullptr;
  GameAllocator::FailAllocation(0);

  const std::size_t live_after = GameAllocator::LiveBlocks();
  const bool alone =
      calls_in_flight_.fetch_sub(1) == 1 && alone_at_start && calls_started_.load() == started;
  if (call.runs != 1) {
    Violation(std::string(kind) + ": game function ran " + std::to_string(call.runs) + " times");
  }
  if (!call.arguments_match) Violation(std::string(kind) + ": game function got other arguments");
  if (alone && live_after != live_before) {
    Violation(std::string(kind) + ": game blocks live before " + std::to_string(live_before) +
              ", after " + std::to_string(live_after));
  }
}

GameText Game::NextText(FStringView text) {
  return MakeGameText(text, ShapeFor(text, text_shapes_++));
}

void Game::SendChat(EmulatedController& player, FStringView message, std::int32_t mode) {
  GameText text = NextText(message);
  const auto object_before = BytesOf(text);
  Run("chat", {&player, &text, reinterpret_cast<const void*>(std::intptr_t{mode})},
      [&] { chat_.Target<ChatFunction>()(&player, &text, mode); });
  if (BytesOf(text) != object_before || TextOf(text) != message) Violation("chat: text changed");
  FreeGameText(text);
}

void Game::ConsoleCommand(EmulatedController& player, FStringView command, bool write_to_log) {
  GameText text = NextText(command);
  GameText result;
  const auto object_before = BytesOf(text);
  GameText* returned = nullptr;
  Run("console",
      {&player, &result, &text, reinterpret_cast<const void*>(std::intptr_t{write_to_log})}, [&] {
        returned = console_.Target<ConsoleFunction>()(&player, &result, &text, write_to_log);
      });
  if (returned != &result) Violation("console: result of the game function not returned");
  if (BytesOf(text) != object_before || TextOf(text) != command) Violation("console: text changed");
  FreeGameText(text);
}

void Game::ReceiveRconPacket(std::int32_t type, FStringView body) {
  GameRconPacket packet{static_cast<std::int32_t>(body.size() + 10), 7, type, 0, NextText(body)};
  const auto object_before = BytesOf(packet);
  void* connection = &rcon_connection_object;
  void* world = &world_object;
  Run("rcon", {connection, &packet, world},
      [&] { rcon_.Target<RconFunction>()(connection, &packet, world); });
  if (BytesOf(packet) != object_before || TextOf(packet.body) != body) {
    Violation("rcon: packet changed");
  }
  FreeGameText(packet.body);
}

void Game::ChatOriginal(EmulatedController* controller, GameText* message, std::int32_t mode) {
  the_game->OwnFunctionRan(
      "chat", {controller, message, reinterpret_cast<const void*>(std::intptr_t{mode}), nullptr});
}

GameText* Game::ConsoleOriginal(EmulatedController* controller, GameText* result, GameText* command,
                                bool write_to_log) {
  the_game->OwnFunctionRan("console", {controller, result, command,
                                       reinterpret_cast<const void*>(std::intptr_t{write_to_log})});
  return result;
}

void Game::RconOriginal(void* connection, GameRconPacket* packet, void* world) {
  the_game->OwnFunctionRan("rcon", {connection, packet, world, nullptr});
}

void Game::OwnFunctionRan(const char* kind, std::array<const void*, 4> arguments) {
  PendingCall* call = pending_call;
  if (call == nullptr || std::strcmp(call->kind, kind) != 0) {
    Violation(std::string(kind) + ": game function ran outside the game's call of it");
    return;
  }
  GetEmulatedHost().RecordCall(std::string("game ") + kind);
  ++call->runs;
  call->arguments_match = call->arguments_match && call->arguments == arguments;
}

std::vector<std::string> Game::TakeViolations() {
  const std::lock_guard lock(record_mutex_);
  return std::exchange(violations_, {});
}

void Game::Violation(std::string text) {
  const std::lock_guard lock(record_mutex_);
  violations_.push_back(std::move(text));
}
