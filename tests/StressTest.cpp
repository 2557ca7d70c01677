// Many game threads sending commands at once through the emulated host, checked against a
// plain sequential model of the routing rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <thread>

#include <nlohmann/json.hpp>

#include "EmulatedHost.h"
#include "RelayTestSupport.h"

namespace {

using namespace relay_test;

constexpr std::size_t kGroups = 32;  // the last is "Default"
constexpr int kThreads = 8;
constexpr int kCommands = TALLYROOK_STRESS_COMMANDS;

enum Kind { kChat, kConsole, kRcon };

// The groups' command lists, from which both the config and the model are made.
struct Model {
  std::array<std::array<std::vector<std::string>, 3>, kGroups> commands;
  std::array<std::vector<std::string>, 3> blacklist{{{"/secret"}, {"cheat"}, {"broadcast"}}};
  std::array<std::vector<std::string>, 3> ignored{{{"/help"}, {"fly"}, {"listplayers"}}};

  Model() {
    for (std::size_t g = 0; g < kGroups - 1; ++g) {
      commands[g][kChat] = {"/c" + std::to_string(g)};
      if (g >= 3) commands[g][kChat].push_back("/shared");
      commands[g][kConsole] = {"con" + std::to_string(g)};
      if (g % 2 == 1) commands[g][kConsole].push_back("SharedCon");
      commands[g][kRcon] = {"r" + std::to_string(g)};
    }
    commands[kGroups - 1][kChat] = {"/c5"};
  }

  static std::string Tag(std::size_t group, std::size_t kind) {
    return "g" + std::to_string(group) + "-" + std::to_string(kind);
  }

  std::string Config() const {
    std::string config = R"({"LogEverything": true, "StaffGroups": ["Admins"], "ChannelGroups": [)";
    const char* keys[] = {"Chat", "Console", "Rcon"};
    for (std::size_t g = 0; g < kGroups; ++g) {
      config += g ? "," : "";
      config += R"({"Identifier": ")" +
                (g == kGroups - 1 ? std::string("Default") : "G" + std::to_string(g)) + "\"";
      for (std::size_t kind = 0; kind < 3; ++kind) {
        config += std::string(R"(, ")") + keys[kind] + R"(": {"ChannelTag": ")" + Tag(g, kind) +
                  R"(", "BotName": "bot", "Commands": )" +
                  nlohmann::json(commands[g][kind]).dump() + "}";
      }
      config += "}";
    }
    config += R"(], "BlacklistChatCommands": ["/secret"], "BlacklistConsoleCommands": ["cheat"],
      "BlacklistRconCommands": ["broadcast"], "IgnoreChatCommands": ["/help"],
      "IgnoreConsoleCommands": ["fly"], "IgnoreRconCommands": ["listplayers"]})";
    return config;
  }

  static std::string FirstWordFolded(const std::string& command) {
    const auto start = command.find_first_not_of(' ');
    if (start == std::string::npos) return "";
    std::string word = command.substr(start, command.find(' ', start) - start);
    for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return word;
  }

  static bool Listed(const std::string& word, const std::vector<std::string>& list) {
    return !word.empty() && std::any_of(list.begin(), list.end(), [&](const std::string& entry) {
      return FirstWordFolded(entry) == word && entry.find(' ') == std::string::npos;
    });
  }

  // The tag of the channel the command goes to, or "" when it is not reported.
  std::string Route(std::size_t kind, const std::string& command, bool admin) const {
    const std::string word = FirstWordFolded(command);
    if (kind == kChat && (command.empty() || command[0] != '/')) return "";
    if (Listed(word, blacklist[kind])) return "";
    // Everything is logged: only a chat command or a player's console command stays ignored.
    if (Listed(word, ignored[kind]) && (kind == kChat || (kind == kConsole && !admin))) return "";
    for (std::size_t g = 0; g < kGroups; ++g) {
      if (Listed(word, commands[g][kind])) return Tag(g, kind);
    }
    return Tag(kGroups - 1, kind);
  }
};

struct Sent {
  std::size_t kind;
  int player;
  std::string text;
  std::int32_t type;
};

Sent CommandNumber(int i) {
  static const std::vector<std::string> chat = {
      "/shared", "/SHARED y", "/c5", "/unknown", "/secret pw", "/help", "plain text", "", " /c1"};
  static const std::vector<std::string> console = {"sharedcon", "cheat x", "fly", "nothing"};
  static const std::vector<std::string> rcon = {"broadcast hi", "listplayers", "saveworld", ""};
  const auto kind = static_cast<std::size_t>(i % 3);
  const int pick = (i / 3) * 7919;
  const auto choose = [&](const std::vector<std::string>& pool, const char* prefix) {
    const std::size_t n = pool.size() + kGroups - 1;
    const std::size_t k = static_cast<std::size_t>(pick) % n;
    return k < kGroups - 1 ? prefix + std::to_string(k) + " arg" : pool[k - (kGroups - 1)];
  };
  Sent sent{kind, (i / 3) % 3, "", 2};
  sent.text = kind == kChat      ? choose(chat, "/c")
              : kind == kConsole ? choose(console, "con")
                                 : choose(rcon, "r");
  if (kind == kRcon && (i / 3) % 10 == 0) sent.type = kRconAuthenticationRequest;
  return sent;
}

class StressTest : public RelayTest {};

TEST_F(StressTest, EightGameThreadsGetExactlyTheReportsOfTheSequentialModel) {
  const Model model;
  Load(model.Config());
  GetEmulatedHost().SetCallRecording(false);
  const uint64 ids[] = {kAlice, kBob, kCarol};
  EmulatedController* players[] = {&Player(kAlice), &Player(kBob), &Player(kCarol)};
  const std::string ranks[] = {"Admins, Players", "Players", ""};
  const std::string names[] = {"Alice", "Not a staff member", "Not a staff member"};
  const std::string chat_names[] = {"Alice", "Bob", "Carol"};

  std::vector<std::string> expected;
  for (int i = 0; i < kCommands; ++i) {
    const Sent sent = CommandNumber(i);
    if (sent.type == kRconAuthenticationRequest) continue;
    const std::string tag = model.Route(sent.kind, sent.text, sent.player == 0);
    if (tag.empty()) continue;
    const std::string id = std::to_string(ids[sent.player]);
    const std::string content =
        sent.kind == kChat ? ChatReport(ranks[sent.player], chat_names[sent.player], id, sent.text)
        : sent.kind == kConsole
            ? ConsoleReport(ranks[sent.player], names[sent.player], id, sent.text)
            : RconReport(sent.text);
    expected.push_back(tag + "|bot|" + content);
  }

  Game& game = server_->game();
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = t; i < kCommands; i += kThreads) {
        const Sent sent = CommandNumber(i);
        const FString text = FString::FromUtf8(sent.text);
        if (sent.kind == kChat) game.SendChat(*players[sent.player], text.View());
        if (sent.kind == kConsole) game.ConsoleCommand(*players[sent.player], text.View());
        if (sent.kind == kRcon) game.ReceiveRconPacket(sent.type, text.View());
      }
    });
  }
  for (auto& thread : threads) thread.join();
  GetEmulatedHost().SetCallRecording(true);

  std::vector<std::string> shown;
  for (const Delivery& delivery : server_->relay()->TakeDeliveries())
    shown.push_back(Shown({delivery}));
  std::sort(expected.begin(), expected.end());
  std::sort(shown.begin(), shown.end());
  EXPECT_EQ(shown.size(), expected.size());
  EXPECT_TRUE(shown == expected) << "the reports differ from the model's";
  EXPECT_GT(expected.size(), static_cast<std::size_t>(kCommands / 3));
  EXPECT_EQ(game.TakeViolations(), std::vector<std::string>{});
}

}  // namespace
