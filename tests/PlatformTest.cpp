#include <gtest/gtest.h>

#include <string>

#include "Platform.h"

namespace {

using Text = std::basic_string<FChar>;

TEST(PlatformToUtf8Test, GivesTheBytesWindowsGives) {
  struct Case {
    Text text;
    std::string utf8;
  };
  const Case cases[] = {
      {FTEXT(""), ""},
      {FTEXT("/say hi"), "/say hi"},
      {FTEXT("\u00E9\u4E2D"), "\xC3\xA9\xE4\xB8\xAD"},
      {Text{FChar(0xD83D), FChar(0xDE00)}, "\xF0\x9F\x98\x80"},
      {Text{FChar('a'), FChar(0xD800), FChar('b')},
       "a\xEF\xBF\xBD"
       "b"},                                                             // lone high
      {Text{FChar(0xDC00)}, "\xEF\xBF\xBD"},                             // lone low
      {Text{FChar(0xDE00), FChar(0xD83D)}, "\xEF\xBF\xBD\xEF\xBF\xBD"},  // swapped pair
      // The edges of both surrogate ranges, alone and paired.
      {Text{FChar(0xD800)}, "\xEF\xBF\xBD"},
      {Text{FChar(0xDBFF)}, "\xEF\xBF\xBD"},
      {Text{FChar(0xDFFF)}, "\xEF\xBF\xBD"},
      {Text{FChar(0xD800), FChar(0xDC00)}, "\xF0\x90\x80\x80"},
      {Text{FChar(0xDBFF), FChar(0xDFFF)}, "\xF4\x8F\xBF\xBF"},
      {Text{FChar(0xD83C), FChar(0xDFFF)}, "\xF0\x9F\x8F\xBF"},  // a skin-tone modifier
      {Text{FChar(0xD7FF), FChar(0xE000)}, "\xED\x9F\xBF\xEE\x80\x80"},
      {Text{FChar('a'), FChar(0), FChar('b')}, std::string("a\0b", 3)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Platform::ToUtf8(c.text.data(), c.text.size()), c.utf8);
  }
}

TEST(PlatformCompareTest, MeansWcsnicmpInTheCLocale) {
  struct Case {
    Text a;
    Text b;
    std::size_t count;
    bool equal;
  };
  const Case cases[] = {
      {FTEXT("ABCxyz"), FTEXT("abcXYZ"), 6, true},
      {FTEXT("abc"), FTEXT("abd"), 2, true},  // only `count` units take part
      {FTEXT("abc"), FTEXT("abd"), 3, false},
      {Text{FChar('a'), FChar(0), FChar('x')}, Text{FChar('A'), FChar(0), FChar('y')}, 3, true},
      {FTEXT("\u00C0"), FTEXT("\u00E0"), 1, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Platform::EqualIgnoringCaseAZ(c.a.data(), c.b.data(), c.count), c.equal);
  }
}

TEST(PlatformSiblingTest, AMissingModuleOrFunctionThrows) {
  EXPECT_THROW(Platform::HoldLoadedModule("NoSuchSibling"), std::runtime_error);
  // The host is loaded in every test process, and exports nothing of this name.
  void* host = Platform::HoldLoadedModule("version");
  EXPECT_THROW(Platform::FindModuleFunction(host, "version", "NoSuchFunction"), std::runtime_error);
}

}  // namespace
