#include <gtest/gtest.h>

#include "Decision.h"
#include "EmulatedServerFixture.h"

namespace {

using Tallyrook::Json;

class StaffTest : public GameMemoryTest {};

TArray<FString> Groups(std::initializer_list<const char*> names) {
  TArray<FString> groups;
  for (const char* name : names) groups.Add(FString::FromUtf8(name));
  return groups;
}

TEST_F(StaffTest, AnyGroupOnTheStaffListMakesAStaffMemberUpToTheFirstEntryThatIsNoString) {
  using Tallyrook::Staff;
  struct Case {
    const char* document;
    std::initializer_list<const char*> groups;
    Staff staff;
    std::size_t entry;
  };
  constexpr std::size_t kNone = Tallyrook::kNoEntry;
  const Case cases[] = {
      {R"({})", {"Admins"}, Staff::NotAMember, kNone},
      {R"({"StaffGroups":null})", {"Admins"}, Staff::NotAMember, kNone},
      {R"({"StaffGroups":["Admins"]})", {}, Staff::NotAMember, kNone},
      {R"({"StaffGroups":["Mods","Admins"]})", {"Players", "admins"}, Staff::Member, 1},  // A-Z
      {R"({"StaffGroups":"Mods"})", {"MODS"}, Staff::Member, 0},  // one string is one entry
      {R"({"StaffGroups":{"b":"Mods","a":7}})", {"Mods"}, Staff::EntryNotAString, 0},
      {R"({"StaffGroups":7})", {"Mods"}, Staff::EntryNotAString, 0},
      {R"({"StaffGroups":["Admins"]})", {"Admins "}, Staff::NotAMember, kNone},
      {R"({"StaffGroups":["Mod\u00e9rateurs"]})", {"Mod\xC3\xA9rateurs"}, Staff::Member, 0},
      {R"({"StaffGroups":["Admins", 5]})", {"Admins"}, Staff::Member, 0},  // 5 is not read
      {R"({"StaffGroups":["Admins", 5]})", {"Mods"}, Staff::EntryNotAString, 1},
      {R"({"StaffGroups":[5, "Admins"]})", {"Admins"}, Staff::EntryNotAString, 0},
      {R"({"StaffGroups":[""]})", {""}, Staff::Member, 0},
  };
  for (const Case& c : cases) {
    const Json document = Json::parse(c.document);
    const Tallyrook::StaffRule rule = Tallyrook::ApplyStaffRule(document, Groups(c.groups));
    EXPECT_EQ(rule.staff, c.staff) << c.document;
    EXPECT_EQ(rule.entry, c.entry) << c.document;
  }
}

}  // namespace
