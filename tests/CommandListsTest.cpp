#include <gtest/gtest.h>

#include "CommandLists.h"
#include "EmulatedServerFixture.h"

namespace {

using Tallyrook::BuildCommandLists;
using Tallyrook::CommandList;
using Tallyrook::FirstListed;
using Tallyrook::Json;
using Tallyrook::NameOf;

class CommandListsTest : public GameMemoryTest {};

FString Text(const std::string& utf8) {
  return FString::FromUtf8(utf8);
}

TEST_F(CommandListsTest, TheNameDecidesIgnoringTheCaseOfAToZ) {
  struct Case {
    std::string command;
    std::string entry;
    bool matches;
  };
  const Case cases[] = {
      {"/kick bob", "/kick", true},
      // Texts end at their first NUL, as the C runtime compares them.
      {std::string("/login\0 x", 9), "/login", true},
      {std::string("/LOGIN\0", 7), "/login", true},
      {"/lo", std::string("/lo\0gin", 7), true},
      {std::string("\0/login", 7), "/login", false},
      {"/KICK bob", "/kIcK", true},
      {"/kick bob", "kick", false},       // the slash is part of the word
      {"   /kick   bob", "/kick", true},  // leading and repeated spaces do not matter
      // Any white space separates words, as in the game's console; nothing else does.
      {"/kick\tbob", "/kick", true},
      {"/kick\tbob", "/kick\tbob", false},
      {"\t\n\v\f\r/kick\x0B", "/kick", true},
      {"/kick\xC2\x85"
       "bob",
       "/kick", true},  // U+0085
      {"/kick\xC2\xA0"
       "bob",
       "/kick", true},  // U+00A0 no-break space
      {"/kick\xE1\x9A\x80"
       "bob",
       "/kick", true},  // U+1680
      {"/kick\xE2\x80\x80"
       "bob",
       "/kick", true},  // U+2000
      {"/kick\xE2\x80\x83"
       "bob",
       "/kick", true},  // U+2003 em space
      {"/kick\xE2\x80\x8A"
       "bob",
       "/kick", true},  // U+200A
      {"/kick\xE2\x80\xA8"
       "bob",
       "/kick", true},  // U+2028
      {"/kick\xE2\x80\xA9"
       "bob",
       "/kick", true},  // U+2029
      {"/kick\xE2\x80\xAF"
       "bob",
       "/kick", true},  // U+202F
      {"/kick\xE2\x81\x9F"
       "bob",
       "/kick", true},  // U+205F
      {"/kick\xE3\x80\x80"
       "bob",
       "/kick", true},  // U+3000 ideographic space
      {"/kick\xE2\x80\x8B"
       "bob",
       "/kick", false},  // U+200B is no white space
      {"/kick\xE1\xA0\x8E"
       "bob",
       "/kick", false},  // U+180E is none any more
      {"/kick\xE2\x81\xA0"
       "bob",
       "/kick", false},  // U+2060
      {"/kick\x1C"
       "bob",
       "/kick", false},
      {std::string("EnableCheats\0hunter2", 20), "EnableCheats", true},
      // After a command prefix the next word is the name; a prefix alone is its own.
      {"admincheat GiveItemNum 121 1 0 0", "GiveItemNum", true},
      {"admincheat GiveItemNum 121 1 0 0", "admincheat", false},
      {"  CHEAT\tghost", "ghost", true},
      {"cheat", "cheat", true},
      {"cheat \t ", "cheat", true},
      {std::string("cheat\0fly", 9), "cheat", true},  // the text ends at the NUL
      {std::string("cheat\0fly", 9), "fly", false},
      {"cheat cheat fly", "cheat", true},  // one prefix only
      {"cheater fly", "cheater", true},
      {"cheater fly", "fly", false},
      {"/cheat fly", "/cheat", true},
      {"/kick bob", "/kick bob", false},  // an entry with a space never matches
      {"/kicker", "/kick", false},        // no prefix matching either way
      {"/kick", "/kicker", false},
      {"/kick", "", false},  // an empty entry never matches
      {"", "", false},       // nor does an empty command
      {"    ", "", false},
      {"\xC3\xA9t\xC3\xA9 x", "\xC3\xA9t\xC3\xA9", true},  // decoded from UTF-8, so it matches
      {"\xC3\x89T\xC3\x89", "\xC3\xA9t\xC3\xA9", false},   // only A-Z fold
      {"giveitem 1", "GiveItem", true},
  };
  for (const Case& c : cases) {
    const FString command = Text(c.command);
    CommandList list;
    list.push_back(Text("/other"));
    list.push_back(Text(c.entry));
    CommandList prefixes;
    prefixes.push_back(Text("admincheat"));
    prefixes.push_back(Text("Cheat"));
    const auto hit = FirstListed(NameOf(command.View(), prefixes).name, list);
    EXPECT_EQ(hit, c.matches ? std::optional<std::size_t>(1) : std::nullopt)
        << '"' << c.command << "\" against \"" << c.entry << '"';
  }
  EXPECT_FALSE(FirstListed(FTEXT("/kick"), CommandList{}));
}

TEST_F(CommandListsTest, ListsAreReadByTheDocumentsListConventions) {
  const auto lists = BuildCommandLists(Json::parse(R"({
    "IgnoreChatCommands": "/help",
    "IgnoreConsoleCommands": {"b": "second", "a": "first"},
    "BlacklistChatCommands": ["/a", "/a", ""],
    "BlacklistConsoleCommands": null,
    "BlacklistRconCommands": ["\u00e9t\u00e9"]
  })"));
  const auto texts = [](const CommandList& list) {
    std::vector<std::string> out;
    for (const auto& entry : list) out.push_back(entry.ToUtf8());
    return out;
  };
  using V = std::vector<std::string>;
  EXPECT_EQ(texts(lists.IgnoreChatCommands), V{"/help"});
  EXPECT_EQ(texts(lists.IgnoreConsoleCommands), (V{"first", "second"}));
  EXPECT_EQ(texts(lists.IgnoreRconCommands), V{});
  EXPECT_EQ(texts(lists.BlacklistChatCommands), (V{"/a", "/a", ""}));
  EXPECT_EQ(texts(lists.BlacklistConsoleCommands), V{});
  EXPECT_EQ(texts(lists.BlacklistRconCommands), V{"\xC3\xA9t\xC3\xA9"});
}

TEST_F(CommandListsTest, ANonStringEntryNamesItsPlace) {
  struct Case {
    const char* document;
    const char* error;
  };
  const Case cases[] = {
      {R"({"IgnoreRconCommands": ["a", 3]})",
       "IgnoreRconCommands[1]: type must be string, but is number"},
      {R"({"BlacklistChatCommands": {"k": null}})",
       "BlacklistChatCommands.k: type must be string, but is null"},
      {R"({"IgnoreChatCommands": true})",
       "IgnoreChatCommands: type must be string, but is boolean"},
      {R"([1])", "cannot use operator[] with a string argument with array"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ConfigErrorOf([&] { BuildCommandLists(Json::parse(c.document)); }), c.error)
        << c.document;
  }
}

}  // namespace
