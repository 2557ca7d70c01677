#include <gtest/gtest.h>

#include "Configuration.h"
#include "EmulatedServerFixture.h"

namespace {

using Tallyrook::ConfigDocument;
using Tallyrook::Json;

class StaffTest : public GameMemoryTest {
 protected:
  void TearDown() override {
    ConfigDocument = nullptr;
    GameMemoryTest::TearDown();
  }
};

TArray<FString> Groups(std::initializer_list<const char*> names) {
  TArray<FString> groups;
  for (const char* name : names) groups.Add(FString::FromUtf8(name));
  return groups;
}

TEST_F(StaffTest, AnyGroupOnTheStaffListMakesAStaffMember) {
  struct Case {
    const char* document;
    std::initializer_list<const char*> groups;
    bool staff;
  };
  const Case cases[] = {
      {R"({})", {"Admins"}, false},
      {R"({"StaffGroups":null})", {"Admins"}, false},
      {R"({"StaffGroups":["Admins"]})", {}, false},
      {R"({"StaffGroups":["Admins"]})", {"Players", "admins"}, true},  // A-Z fold
      {R"({"StaffGroups":"Mods"})", {"MODS"}, true},                   // one string is one entry
      {R"({"StaffGroups":["Admins"]})", {"Admins "}, false},
      {R"({"StaffGroups":["Mod\u00e9rateurs"]})", {"Mod\xC3\xA9rateurs"}, true},
      {R"({"StaffGroups":["Admins", 5]})", {"Admins"}, true},  // a later non-string is not read
      {R"({"StaffGroups":[""]})", {""}, true},
  };
  for (const Case& c : cases) {
    ConfigDocument = Json::parse(c.document);
    EXPECT_EQ(Tallyrook::IsStaffMember(Groups(c.groups)), c.staff) << c.document;
  }
}

TEST_F(StaffTest, ANonStringEntryBeforeAnyMatchIsATypeError) {
  ConfigDocument = Json::parse(R"({"StaffGroups":[5, "Admins"]})");
  EXPECT_EQ(ConfigErrorOf([] { Tallyrook::IsStaffMember(Groups({"Admins"})); }),
            "StaffGroups[0]: type must be string, but is number");
}

TEST_F(StaffTest, ReadingTheDocumentNeverChangesIt) {
  ConfigDocument = Json::parse(R"({"Other":1})");
  const Json before = ConfigDocument;
  EXPECT_FALSE(Tallyrook::IsStaffMember(Groups({"Admins"})));
  EXPECT_THROW(Tallyrook::LogEverything(), Tallyrook::ConfigError);
  EXPECT_EQ(ConfigDocument, before);
}

}  // namespace
