#include <gtest/gtest.h>

#include <string>

#include "EmulatedServerFixture.h"
#include "FString.h"
#include "GameAllocator.h"
#include "ModuleLoader.h"

namespace {

using Text = std::basic_string<FChar>;

class FStringTest : public GameMemoryTest {};

TEST(GrownCapacityTest, FollowsTheGamesGrowthRule) {
  struct Case {
    std::int32_t capacity;
    std::int64_t needed;
    std::int32_t expected;
  };
  const Case cases[] = {
      {0, 1, 4},
      {0, 4, 4},
      {0, 5, 5 + 1 + 16},
      {4, 5, 5 + 1 + 16},
      {22, 23, 23 + 8 + 16},
      {0, 1000, 1000 + 375 + 16},
      {0, INT32_MAX, INT32_MAX},
      {0, 1'600'000'000, INT32_MAX},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GrownCapacity(c.capacity, c.needed), c.expected)
        << "capacity " << c.capacity << ", needed " << c.needed;
  }
}

TEST_F(FStringTest, CountIncludesTheNulAndCapacityGrowsByTheRule) {
  struct Case {
    std::string narrow;
    std::int32_t count;
    std::int32_t capacity;
    std::uint64_t allocations;  // the NUL's room is taken with the text's, in one block
  };
  const Case cases[] = {{"", 0, 0, 0}, {"a", 2, 4, 1}, {"abc", 4, 4, 1}, {"abcd", 5, 22, 1}};
  for (const Case& c : cases) {
    const auto allocations = GameAllocator::Allocations();
    const FString text(c.narrow);
    EXPECT_EQ(GameAllocator::Allocations(), allocations + c.allocations) << c.narrow;
    EXPECT_EQ(text.Count(), c.count) << c.narrow;
    EXPECT_EQ(text.Capacity(), c.capacity) << c.narrow;
    EXPECT_EQ(text.Len(), static_cast<std::int32_t>(c.narrow.size()));
    if (c.count > 0) {
      EXPECT_EQ(text.Data()[text.Len()], FChar{0});
    }
  }
}

TEST_F(FStringTest, AppendingGrowsOnlyWhenTheCountPassesTheCapacity) {
  FString text(std::string_view("ab"));  // count 3, capacity 4
  text += FStringView(FTEXT("c"));       // count 4: fits
  EXPECT_EQ(text.Capacity(), 4);
  const auto allocations = GameAllocator::Allocations();
  text += FStringView(FTEXT("d"));  // count 5: grows to 5 + 1 + 16
  EXPECT_EQ(text.Capacity(), 22);
  EXPECT_EQ(GameAllocator::Allocations(), allocations + 1);
  EXPECT_EQ(text.View(), FStringView(FTEXT("abcd")));
  text += text;  // appending itself reads its own text before the block moves
  EXPECT_EQ(text.View(), FStringView(FTEXT("abcdabcd")));
  // A growth that fails leaves the text as it was, terminated; one that succeeds needs no other.
  for (const std::uint64_t nth : {std::uint64_t{1}, std::uint64_t{2}}) {
    FString grown;
    GameAllocator::FailAllocation(nth);
    try {
      grown += FStringView(FTEXT("abcd"));  // fills the first block but for the NUL's room
    } catch (const std::bad_alloc&) {
    }
    GameAllocator::FailAllocation(0);
    EXPECT_EQ(grown.View(), FStringView(nth == 1 ? FTEXT("") : FTEXT("abcd"))) << nth;
    if (grown.Count() > 0) {
      EXPECT_EQ(grown.Data()[grown.Count() - 1], FChar{0}) << nth;
    }
  }
}

TEST_F(FStringTest, NarrowTextBecomesOneCharacterPerByte) {
  struct Case {
    std::string narrow;
    Text expected;
  };
  const Case cases[] = {
      {"plain /cmd", FTEXT("plain /cmd")},
      {"\x7F", Text(1, FChar{0x7F})},
      {"caf\xC3\xA9", FTEXT("caf??")},  // each byte above 0x7F is a question mark
      {"\x80\xFF", FTEXT("??")},
      {std::string("a\0b", 3), Text(FTEXT("a")) + FChar{0} + FTEXT("b")},
  };
  for (const Case& c : cases) EXPECT_EQ(FString(c.narrow).View(), c.expected) << c.narrow;
}

TEST_F(FStringTest, Utf8DecodesAndIllFormedBytesBecomeReplacementCharacters) {
  struct Case {
    std::string utf8;
    Text expected;
  };
  const Case cases[] = {
      {"caf\xC3\xA9", FTEXT("caf\u00E9")},
      {"\xF0\x9F\x98\x80", Text{FChar(0xD83D), FChar(0xDE00)}},
      {"\xC3", FTEXT("\uFFFD")},          // cut short
      {"\xC0\xAF", FTEXT("\uFFFD")},      // overlong
      {"\xED\xA0\x80", FTEXT("\uFFFD")},  // an encoded surrogate
      {"a\xFF"
       "b",
       FTEXT("a\uFFFDb")},
  };
  for (const Case& c : cases) EXPECT_EQ(FString::FromUtf8(c.utf8).View(), c.expected) << c.utf8;
}

TEST_F(FStringTest, ToUtf8LeavesOutTheNulAndGivesEmptyTextWithoutABlock) {
  EXPECT_EQ(FString().ToUtf8(), "");
  EXPECT_EQ(FString().Data(), nullptr);
  EXPECT_EQ((*FString())[0], FChar{0});  // an empty text, never a null pointer
  EXPECT_EQ(FString(std::string_view("/kick bob")).ToUtf8(), "/kick bob");
  EXPECT_EQ(FString::FromUtf8("caf\xC3\xA9 \xF0\x9F\x98\x80").ToUtf8(),
            "caf\xC3\xA9 \xF0\x9F\x98\x80");
}

TEST_F(FStringTest, LeftChopInlineKeepsTheNul) {
  struct Case {
    std::string text;
    std::int32_t chop;
    std::string expected;
  };
  const Case cases[] = {{"a, b, ", 2, "a, b"}, {", ", 2, ""}, {"ab", 5, ""}, {"ab", 0, "ab"}};
  for (const Case& c : cases) {
    FString text(c.text);
    text.LeftChopInline(c.chop);
    EXPECT_EQ(text.ToUtf8(), c.expected);
    EXPECT_EQ(text.Data()[text.Len()], FChar{0});
  }
}

TEST_F(FStringTest, ArraysOfTextsReturnEveryBlock) {
  const auto live = GameAllocator::LiveBlocks();
  {
    TArray<FString> groups;
    for (int i = 0; i < 40; ++i) groups.Add(FString(std::string("group") + std::to_string(i)));
    TArray<FString> copy = groups;
    EXPECT_EQ(copy.Num(), 40);
    EXPECT_EQ(copy[39].ToUtf8(), "group39");
    EXPECT_EQ(GameAllocator::LiveBlocks(), live + 2 + 80);  // two arrays, eighty texts
  }
  EXPECT_EQ(GameAllocator::LiveBlocks(), live);
}

TEST_F(FStringTest, AFailedAllocationThrowsAndLeavesTheTextAsItWas) {
  FString text(std::string_view("abc"));
  GameAllocator::FailAllocation(1);
  EXPECT_THROW(text += FStringView(FTEXT("defg")), std::bad_alloc);
  EXPECT_EQ(text.ToUtf8(), "abc");
}

TEST(FStringCompareTest, FoldsOnlyAToZ) {
  struct Case {
    Text a;
    Text b;
    bool equal;
  };
  const Case cases[] = {
      {FTEXT("/Kick"), FTEXT("/kICK"), true},
      {FTEXT("\u00C9t\u00E9"), FTEXT("\u00E9t\u00E9"), false},  // no folding beyond A-Z
      {FTEXT("ab"), FTEXT("abc"), false},
      {FTEXT(""), FTEXT(""), true},
      {FTEXT("[@]"), FTEXT("{`}"), false},  // neighbours of A-Z do not fold
  };
  for (const Case& c : cases) EXPECT_EQ(EqualsIgnoringCase(c.a, c.b), c.equal);
}

TEST_F(FStringTest, TheGameAllocatorRecordsMisuseInsteadOfActingOnIt) {
  void* block = GameAllocator::Malloc(8, 0);
  GameAllocator::Free(block);
  GameAllocator::Free(block);  // twice
  int local = 0;
  GameAllocator::Free(&local);  // never allocated
  EXPECT_EQ(GameAllocator::Realloc(&local, 16), nullptr);
  EXPECT_EQ(GameAllocator::TakeMisuse().size(), 3u);
}

TEST(ModuleLoaderTest, AModuleThatIsNotThereIsAFailedLoadWithItsReason) {
  std::string error;
  EXPECT_EQ(ModuleLoader::Load("NoSuchModule", error), nullptr);
  EXPECT_NE(error.find("NoSuchModule"), std::string::npos) << error;
}

}  // namespace
