#include <gtest/gtest.h>

#include <filesystem>

#ifdef __linux__
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

#include "EmulatedHost.h"
#include "EmulatedServerFixture.h"

namespace {

class ConfigLoadTest : public EmulatedServerTest {
 protected:
  // Loads the plugin and returns the message of its one log line, or "" when it loaded.
  std::string LoadOutcome() {
    const bool loaded = LoadPlugin();
    const auto lines = PluginLines();
    if (loaded) {
      EXPECT_EQ(lines, std::vector<std::string>{});
      server_->FreePlugin();
      return "";
    }
    EXPECT_EQ(GetEmulatedHost().HookedFunctions(), std::vector<std::string>{});
    if (lines.size() != 1) return "lines: " + std::to_string(lines.size());
    const auto start = lines[0].find("Exception: ");
    const auto end = lines[0].find_last_not_of("\r\n");
    return lines[0].substr(start, end + 1 - start);
  }
};

constexpr const char* kParse = "Exception: Can't parse configuration";
constexpr const char* kManager = "Exception: Can't initialize manager";

const std::string kChannel = R"({"ChannelTag":"t","BotName":"b"})";
const std::string kGroup = R"({"Identifier":"Default","Chat":)" + kChannel + R"(,"Console":)" +
                           kChannel + R"(,"Rcon":)" + kChannel + "}";

TEST_F(ConfigLoadTest, EachFileLoadsOrStopsTheLoadWithItsFixedText) {
  struct Case {
    const char* what;
    std::string content;
    const char* outcome;
  };
  const Case cases[] = {
      {"empty object", "{}", ""},
      {"null", "null", ""},
      {"trailing text after the value", "{} and then some", ""},
      {"byte-order mark", "\xEF\xBB\xBF{}", ""},
      {"groups as an object, keyed",
       R"({"ChannelGroups":{"b":)" + kGroup + R"(,"a":)" + kGroup + "}}", ""},
      {"a list given as one string", R"({"IgnoreChatCommands":"/help"})", ""},
      {"unread keys of any type", R"({"StaffGroups":5,"LogEverything":"yes","Other":[]})", ""},
      {"empty file", "", kParse},
      {"only white space", " \n\t", kParse},
      {"comment", "// admins\n{}", kParse},
      {"syntax error", R"({"ChannelGroups":[}")", kParse},
      {"ill-formed UTF-8 in a string", "{\"a\":\"\xC3\x28\"}", kParse},
      {"top-level array", "[]", kManager},
      {"top-level string", R"("config")", kManager},
      {"top-level number", "3", kManager},
      {"groups as a string", R"({"ChannelGroups":"Default"})", kManager},
      {"group that is null", R"({"ChannelGroups":[null]})", kManager},
      {"group that is a number", R"({"ChannelGroups":[1]})", kManager},
      {"identifier missing", R"({"ChannelGroups":[{"Chat":{}}]})", kManager},
      {"identifier a number",
       R"({"ChannelGroups":[{"Identifier":1,"Chat":)" + kChannel + R"(,"Console":)" + kChannel +
           R"(,"Rcon":)" + kChannel + "}]})",
       kManager},
      {"channel missing",
       R"({"ChannelGroups":[{"Identifier":"a","Chat":)" + kChannel + R"(,"Console":)" + kChannel +
           "}]})",
       kManager},
      {"channel an array",
       R"({"ChannelGroups":[{"Identifier":"a","Chat":[],"Console":)" + kChannel + R"(,"Rcon":)" +
           kChannel + "}]})",
       kManager},
      {"bot name null",
       R"({"ChannelGroups":[{"Identifier":"a","Chat":{"ChannelTag":"t","BotName":null},"Console":)" +
           kChannel + R"(,"Rcon":)" + kChannel + "}]})",
       kManager},
      {"channel command a number",
       R"({"ChannelGroups":[{"Identifier":"a","Chat":{"ChannelTag":"t","BotName":"b","Commands":["/a",2]},"Console":)" +
           kChannel + R"(,"Rcon":)" + kChannel + "}]})",
       kManager},
      {"list entry a boolean", R"({"BlacklistRconCommands":["a",true]})", kManager},
      {"list entry an object", R"({"IgnoreConsoleCommands":{"x":{}}})", kManager},
      {"redaction entry a number", R"({"RedactChatCommands":["/pw",3]})", kManager},
      {"redaction list as one string", R"({"RedactConsoleCommands":"EnableCheats"})", ""},
  };
  for (const Case& c : cases) {
    WriteConfig(c.content);
    EXPECT_EQ(LoadOutcome(), c.outcome) << c.what;
    log_ = std::make_shared<CapturedLog>();
    GetEmulatedHost().RemoveLogOutputs();
    GetEmulatedHost().AddLogOutput(log_);
  }
}

TEST_F(ConfigLoadTest, AMissingFileOrADirectoryStopsTheLoad) {
  EXPECT_EQ(LoadOutcome(), kParse);  // nothing written yet
  std::filesystem::create_directory(ConfigPath());
  log_ = std::make_shared<CapturedLog>();
  GetEmulatedHost().RemoveLogOutputs();
  GetEmulatedHost().AddLogOutput(log_);
  EXPECT_EQ(LoadOutcome(), kParse);
  std::filesystem::remove(ConfigPath());
}

#ifdef __linux__
// Drops, for this thread only, the capabilities that let root open any file for writing, so
// that a read-only file means read-only here as it does for a server's service account.
class WithoutFileOverrides {
 public:
  WithoutFileOverrides() {
    header_.version = _LINUX_CAPABILITY_VERSION_3;
    syscall(SYS_capget, &header_, saved_);
    __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
    reduced[0].effective &=
        ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER));
    syscall(SYS_capset, &header_, reduced);
  }
  ~WithoutFileOverrides() { syscall(SYS_capset, &header_, saved_); }

 private:
  __user_cap_header_struct header_{};
  __user_cap_data_struct saved_[2]{};
};

TEST_F(ConfigLoadTest, AReadOnlyFileLoadsOnLinux) {
  WriteConfig(R"({"ChannelGroups":[)" + kGroup + "]}");
  std::filesystem::permissions(ConfigPath(), std::filesystem::perms::owner_read |
                                                 std::filesystem::perms::group_read |
                                                 std::filesystem::perms::others_read);
  const WithoutFileOverrides as_an_ordinary_account;
  ASSERT_EQ(std::fopen(ConfigPath().c_str(), "r+"), nullptr) << "the file is still writable";
  EXPECT_EQ(LoadOutcome(), "");
}
#endif

}  // namespace
