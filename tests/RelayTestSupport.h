// A server with the plugin loaded on a sample configuration and known players, for tests that
// drive the game's command functions and read what reached the relay plugin.
#pragma once

#include <string>
#include <vector>

#include "EmulatedServerFixture.h"

namespace relay_test {

inline constexpr const char* kClock = "2021-06-14 18:03:00";
// A time text of 18 UTF-16 units in 19 UTF-8 bytes.
inline const std::string kWideClock = "14 juin 2021 \xC3\xA0 18h";
inline constexpr uint64 kAlice = 76561198000000001ull;  // administrator, staff
inline constexpr uint64 kBob = 76561198000000002ull;    // player
inline constexpr uint64 kCarol = 76561198000000003ull;  // no groups
inline constexpr uint64 kMax = 18446744073709551615ull;
inline const std::string kAliceId = "76561198000000001";
inline const std::string kBobId = "76561198000000002";

// The sample configuration; `extra` is added to the top-level object as it is.
std::string Config(const std::string& extra = R"("LogEverything": true)");

// A backtick as a report shows it, followed by U+200B; and `text` repeated `times` times.
inline const std::string kTick = "`\xE2\x80\x8B";
std::string Repeat(const std::string& text, std::size_t times);

// The report texts, by default for the fixed clock.
std::string ChatReport(const std::string& ranks, const std::string& name,
                       const std::string& steam_id, const std::string& command,
                       const std::string& clock = kClock);
std::string ConsoleReport(const std::string& ranks, const std::string& name,
                          const std::string& steam_id, const std::string& command);
std::string RconReport(const std::string& command, const std::string& clock = kClock);

// What reached the relay plugin for one command: "tag|bot|content", or nothing.
std::string Shown(const std::vector<Delivery>& deliveries);

}  // namespace relay_test

class RelayTest : public EmulatedServerTest {
 protected:
  // Loads the plugin on `config` with the relay clock fixed and the sample players' groups.
  void Load(const std::string& config, bool with_relay = true, bool with_permissions = true);

  EmulatedController& Player(uint64 steam_id);
  // Sends one command through the game and returns what reached the relay plugin for it; the
  // game's own checks of the call must all hold.
  std::string Chat(uint64 player, const std::string& message);
  std::string Console(uint64 player, const std::string& command);
  std::string Rcon(const std::string& body, std::int32_t type = 2);

 private:
  std::string Outcome();
};
