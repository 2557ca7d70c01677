// tallyrook-devserver: runs the Tallyrook plugin in the emulated game server and replays a
// session of commands through it, or checks a config.json, so that an admin can see what a
// configuration reports, and where, without a live server.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "ConfigCheck.h"
#include "Configuration.h"
#include "ProgramSetup.h"
#include "Replay.h"
#include "Session.h"

namespace {

namespace fs = std::filesystem;
using namespace devserver;

constexpr int kUsageError = 2;

constexpr const char* kUsage =
    "usage: tallyrook-devserver (--config FILE | --server-dir DIR) [--players FILE]\n"
    "                           [--clock TEXT] [--format text|jsonl] [SESSION]\n"
    "       tallyrook-devserver check [--strict] FILE\n"
    "       tallyrook-devserver explain FILE chat|console|rcon COMMAND [--admin]\n"
    "                           [--groups A,B]\n"
    "\n"
    "Loads the Tallyrook plugin into the emulated server, replays SESSION (JSON Lines; standard\n"
    "input when absent or -) and shows every report the plugin hands to the relay plugin.\n"
    "  --config FILE      use FILE as config.json in a temporary server directory\n"
    "  --server-dir DIR   use DIR as the server directory as it is\n"
    "  --players FILE     players by Steam ID: {\"<id>\": {\"name\", \"groups\", \"admin\"}}\n"
    "  --clock TEXT       the date and time the reports show (default: the local time)\n"
    "  --format FORMAT    text (default) or jsonl: one packet a line\n"
    "check FILE loads FILE as the plugin would and prints what it sets up, or why it fails;\n"
    "  --strict makes any warning fail too.\n"
    "explain FILE KIND COMMAND shows each decision the plugin makes for that command and where\n"
    "  its report goes; --admin sends it as an administrator, --groups from a player in the\n"
    "  permission groups A and B.\n"
    "Exit status: 0 replayed, 2 bad usage or input, 3 the plugin did not load (at the start, or\n"
    "on a host action, after the rest of the session), 4 an invariant\n"
    "of the game broke; check: 0 the plugin would load, 1 it would not (or, with --strict,\n"
    "warned); explain: 0, or 1 when the plugin would not load FILE.\n";

struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct Arguments {
  std::string config;
  std::string server_directory;
  std::string players;
  std::string clock;
  std::string session = "-";
  OutputFormat format = OutputFormat::Text;
};

Arguments Parse(const std::vector<std::string>& words) {
  Arguments arguments;
  bool have_session = false;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    const auto value = [&]() -> const std::string& {
      if (i + 1 >= words.size()) throw UsageError(word + " needs a value");
      return words[++i];
    };
    if (word == "--config") {
      arguments.config = value();
    } else if (word == "--server-dir") {
      arguments.server_directory = value();
    } else if (word == "--players") {
      arguments.players = value();
    } else if (word == "--clock") {
      arguments.clock = value();
    } else if (word == "--format") {
      const std::string& format = value();
      if (format != "text" && format != "jsonl") throw UsageError("unknown format " + format);
      arguments.format = format == "jsonl" ? OutputFormat::JsonLines : OutputFormat::Text;
    } else if (word.size() > 1 && word[0] == '-') {
      throw UsageError("unknown option " + word);
    } else if (!have_session) {
      arguments.session = word;
      have_session = true;
    } else {
      throw UsageError("more than one session: " + word);
    }
  }
  if (arguments.config.empty() == arguments.server_directory.empty()) {
    throw UsageError("give exactly one of --config and --server-dir");
  }
  return arguments;
}

// explain's options after its three words.
ExplainedSender ParseSender(const std::vector<std::string>& words, std::size_t first) {
  ExplainedSender sender;
  for (std::size_t i = first; i < words.size(); ++i) {
    if (words[i] == "--admin") {
      sender.admin = true;
    } else if (words[i] == "--groups" && i + 1 < words.size()) {
      std::stringstream list(words[++i]);
      for (std::string group; std::getline(list, group, ',');) sender.groups.push_back(group);
    } else {
      throw UsageError("explain takes FILE, KIND, COMMAND, [--admin] and [--groups A,B]");
    }
  }
  return sender;
}

// A fresh server directory holding FILE as the plugin's config.json, removed when it goes.
class TemporaryServer {
 public:
  explicit TemporaryServer(const std::string& config) {
    std::random_device random;
    directory_ = fs::temp_directory_path() /
                 ("tallyrook-devserver-" + std::to_string(random()) + std::to_string(random()));
    const fs::path target = directory_.string() + Tallyrook::kConfigPath;
    fs::create_directories(target.parent_path());
    fs::copy_file(config, target);
  }
  ~TemporaryServer() {
    std::error_code ignored;
    fs::remove_all(directory_, ignored);
  }
  TemporaryServer(const TemporaryServer&) = delete;
  TemporaryServer& operator=(const TemporaryServer&) = delete;
  std::string Directory() const { return directory_.string(); }

 private:
  fs::path directory_;
};

int Run(const std::vector<std::string>& words) {
  if (!words.empty() && words[0] == "check") {
    const bool strict = words.size() == 3 && words[1] == "--strict";
    if (words.size() != (strict ? 3u : 2u)) throw UsageError("check takes [--strict] and one FILE");
    return CheckConfig(words.back(), strict, std::cout);
  }
  if (!words.empty() && words[0] == "explain") {
    if (words.size() < 4)
      throw UsageError("explain takes FILE, KIND, COMMAND, [--admin] and [--groups A,B]");
    if (words[2] != "chat" && words[2] != "console" && words[2] != "rcon") {
      throw UsageError("KIND is chat, console or rcon, not " + words[2]);
    }
    return ExplainCommand(words[1], words[2], words[3], ParseSender(words, 4), std::cout);
  }
  const Arguments arguments = Parse(words);
  ReplayOptions options;
  options.clock = arguments.clock;
  options.format = arguments.format;
  if (!arguments.players.empty()) options.players = ReadPlayers(arguments.players);
  std::vector<SessionEvent> events;
  if (arguments.session == "-") {
    events = ReadSession(std::cin, "<stdin>");
  } else {
    std::ifstream session(arguments.session, std::ios::binary);
    if (!session) throw std::runtime_error("cannot open the session " + arguments.session);
    events = ReadSession(session, arguments.session);
  }
  if (!arguments.config.empty() && !fs::is_regular_file(arguments.config)) {
    throw std::runtime_error("no such config file " + arguments.config);
  }
  const bool replaces_config = std::any_of(events.begin(), events.end(), [](const SessionEvent& e) {
    return e.kind == EventKind::Host && e.host.config.has_value();
  });
  if (replaces_config && !arguments.server_directory.empty()) {
    throw UsageError("a session that gives a new config.json needs --config: it would overwrite " +
                     arguments.server_directory + "'s own");
  }
  std::unique_ptr<TemporaryServer> temporary;
  if (!arguments.config.empty()) {
    temporary = std::make_unique<TemporaryServer>(arguments.config);
    options.server_directory = temporary->Directory();
  } else {
    options.server_directory = arguments.server_directory;
  }
  return Replay(options, events, std::cout, std::cerr);
}

}  // namespace

int main(int argc, char** argv) {
  SetUpProgram();
  try {
    return Run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const UsageError& error) {
    std::cerr << "tallyrook-devserver: " << error.what() << "\n\n" << kUsage;
  } catch (const InputError& error) {
    std::cerr << error.what() << "\n";
  } catch (const std::exception& error) {
    std::cerr << "tallyrook-devserver: " << error.what() << "\n";
  }
  return kUsageError;
}
