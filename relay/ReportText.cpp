#include "ReportText.h"

#include <algorithm>
#include <numeric>

#include "CommandLists.h"

namespace Tallyrook {

namespace {

constexpr FChar kZeroWidthSpace = 0x200B;
constexpr FChar kReplacement = 0xFFFD;
constexpr FChar kControlPictures = 0x2400;
constexpr FChar kDeletePicture = 0x2421;
constexpr FStringView kArgumentsHidden = FTEXT(" [arguments hidden]");
constexpr FStringView kCutStart = FTEXT("\u2026 [");
constexpr FStringView kCutEnd = FTEXT(" more characters]");

// Characters that would move text between lines or change the direction it reads in.
bool ActsOnLayout(FChar c) {
  return (c >= 0x80 && c <= 0x9F) || c == 0x2028 || c == 0x2029 || c == 0x200E || c == 0x200F ||
         c == 0x061C || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

// Whether no unit needs changing: printable ASCII without a backtick, as most commands are.
// Tested a block at a time, without branches, so that the compiler can take several at once.
bool IsPlain(FStringView text) {
  constexpr std::size_t kBlock = 16;
  const auto special = [](FChar c) {
    return static_cast<unsigned>(static_cast<FChar>(c - 0x20) >= 0x5F) |
           static_cast<unsigned>(c == FChar{'`'});
  };
  std::size_t i = 0;
  for (; i + kBlock <= text.size(); i += kBlock) {
    unsigned found = 0;
    for (std::size_t k = 0; k < kBlock; ++k) found |= special(text[i + k]);
    if (found != 0) return false;
  }
  for (; i < text.size(); ++i) {
    if (special(text[i]) != 0) return false;
  }
  return true;
}

bool IsHighSurrogate(FChar c) {
  return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(FChar c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

// The characters of the original value that the inert units from `from` on stand for: a pair is
// one, and the zero-width space after a backtick was never the player's.
std::size_t OriginalCharacters(const ReportValue& inert, std::size_t from) {
  std::size_t characters = 0;
  for (std::size_t i = from; i < inert.size(); ++i) {
    const bool added = inert[i] == kZeroWidthSpace && i > 0 && inert[i - 1] == FChar{'`'};
    const bool pair_end = IsLowSurrogate(inert[i]) && i > 0 && IsHighSurrogate(inert[i - 1]);
    if (!added && !pair_end) ++characters;
  }
  return characters;
}

ReportValue CutMarker(std::size_t cut) {
  const std::string digits = std::to_string(cut);
  ReportValue marker(kCutStart);
  marker.append(digits.begin(), digits.end());
  marker += kCutEnd;
  return marker;
}

std::size_t CutMarkerLength(std::size_t cut) {
  return kCutStart.size() + DecimalDigits(cut) + kCutEnd.size();
}

// Cuts inert `value` to at most `room` units if that makes it shorter; the units it saves.
std::size_t Shorten(ReportValue& value, std::size_t room) {
  const std::size_t length = value.size();
  const std::size_t marker = CutMarkerLength(length);  // the longest marker this value can need
  std::size_t kept = room > marker ? room - marker : 0;
  if (kept > 0 && IsHighSurrogate(value[kept - 1])) --kept;  // never half a pair
  if (kept > 0 && value[kept - 1] == FChar{'`'}) --kept;     // nor a backtick without its space
  const std::size_t cut = OriginalCharacters(value, kept);
  const std::size_t shortened = kept + CutMarkerLength(cut);
  if (shortened >= length) return 0;
  value.replace(kept, ReportValue::npos, CutMarker(cut));
  return length - shortened;
}

}  // namespace

ReportValue InertText(FStringView text) {
  if (IsPlain(text)) return ReportValue(text);
  const auto backticks = static_cast<std::size_t>(std::count(text.begin(), text.end(), FChar{'`'}));
  ReportValue inert(text.size() + backticks, FChar{});
  FChar* out = inert.data();
  for (const FChar c : text) {
    if (c >= 0x20 && c < 0x7F) {
      *out++ = c;
      if (c == FChar{'`'}) *out++ = kZeroWidthSpace;  // no run of backticks can make a fence
    } else if (c < 0x20) {
      *out++ = static_cast<FChar>(kControlPictures + c);
    } else if (c == 0x7F) {
      *out++ = kDeletePicture;
    } else {
      *out++ = ActsOnLayout(c) ? kReplacement : c;
    }
  }
  return inert;
}

ReportValue WithArgumentsHidden(FStringView command, std::size_t name_end) {
  const FStringView rest = command.substr(std::min(name_end, command.size()));
  if (std::all_of(rest.begin(), rest.end(), IsWhiteSpace)) return ReportValue(command);
  ReportValue hidden(command.substr(0, name_end));
  hidden += kArgumentsHidden;
  return hidden;
}

std::size_t Utf16Length(std::string_view utf8) noexcept {
  std::size_t units = 0;
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte & 0xC0) != 0x80) ++units;  // a sequence's first byte
    if (byte >= 0xF0) ++units;           // four bytes make a surrogate pair
  }
  return units;
}

std::size_t DecimalDigits(unsigned long long number) noexcept {
  std::size_t digits = 1;
  while (number >= 10) number /= 10, ++digits;
  return digits;
}

void FitInOneMessage(std::size_t used, std::initializer_list<ReportValue*> values) {
  std::size_t total = std::accumulate(
      values.begin(), values.end(), used,
      [](std::size_t sum, const ReportValue* value) { return sum + value->size(); });
  for (ReportValue* value : values) {
    if (total <= kDiscordMessageLimit) return;
    const std::size_t excess = total - kDiscordMessageLimit;
    total -= Shorten(*value, value->size() > excess ? value->size() - excess : 0);
  }
}

}  // namespace Tallyrook
