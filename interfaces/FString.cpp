#include "FString.h"

#include <stdexcept>

namespace {

constexpr FChar kEmpty[1] = {0};
constexpr char32_t kReplacement = 0xFFFD;

void AppendCodePoint(std::basic_string<FChar>& out, char32_t code) {
  if (code < 0x10000) {
    out += static_cast<FChar>(code);
  } else {
    code -= 0x10000;
    out += static_cast<FChar>(0xD800 + (code >> 10));
    out += static_cast<FChar>(0xDC00 + (code & 0x3FF));
  }
}

// Decodes one UTF-8 sequence at `text[i]`, advancing `i`; yields U+FFFD for an ill-formed one.
char32_t DecodeUtf8(std::string_view text, std::size_t& i) {
  const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
  const unsigned char lead = byte(i++);
  if (lead < 0x80) return lead;
  int extra = 0;
  char32_t code = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1, code = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, code = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, code = lead & 0x07, minimum = 0x10000;
  } else {
    return kReplacement;
  }
  for (int k = 0; k < extra; ++k) {
    if (i >= text.size() || (byte(i) & 0xC0) != 0x80) return kReplacement;
    code = (code << 6) | (byte(i++) & 0x3F);
  }
  const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
  if (code < minimum || code > 0x10FFFF || surrogate) return kReplacement;
  return code;
}

}  // namespace

FString::FString(std::string_view narrow) {
  std::basic_string<FChar> text(narrow.size(), FChar{});
  for (std::size_t i = 0; i < narrow.size(); ++i) {
    const auto byte = static_cast<unsigned char>(narrow[i]);
    text[i] = byte <= 0x7F ? static_cast<FChar>(byte) : FChar{'?'};
  }
  *this += text;
}

FString::FString(FStringView text) {
  *this += text;
}

std::basic_string<FChar> Utf16(std::string_view utf8) {
  std::basic_string<FChar> text;
  text.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) AppendCodePoint(text, DecodeUtf8(utf8, i));
  return text;
}

FString FString::FromUtf8(std::string_view utf8) {
  return FString(FStringView(Utf16(utf8)));
}

FStringView FString::View() const noexcept {
  return data_.Num() > 0 ? FStringView(data_.GetData(), static_cast<std::size_t>(Len()))
                         : FStringView();
}

const FChar* FString::operator*() const noexcept {
  return data_.Num() > 0 ? data_.GetData() : kEmpty;
}

FString& FString::operator+=(FStringView text) {
  if (text.empty()) return *this;
  const FChar* block = data_.GetData();
  if (block != nullptr && text.data() >= block && text.data() < block + data_.Num()) {
    return *this += std::basic_string<FChar>(text);  // growing would move the text away
  }
  if (text.size() >= INT32_MAX) throw std::length_error("game text too long");
  const std::int32_t length = Len();
  data_.Reserve(std::int64_t{length} + static_cast<std::int64_t>(text.size()) + 1);
  data_.Truncate(length);  // drop the NUL; it is written again after the new text
  data_.Append(text.data(), static_cast<std::int32_t>(text.size()));
  data_.Add(FChar{0});
  return *this;
}

void FString::LeftChopInline(std::int32_t count) noexcept {
  if (count <= 0 || data_.Num() == 0) return;
  const std::int32_t kept = count >= Len() ? 0 : Len() - count;
  data_.Truncate(kept);
  data_.Add(FChar{0});  // never grows: a slot was just freed
}

std::string FString::ToUtf8() const {
  return ::ToUtf8(View());
}

std::string ToUtf8(FStringView text) {
  return Platform::ToUtf8(text.data(), text.size());
}

bool EqualsIgnoringCase(FStringView a, FStringView b) noexcept {
  // As the C runtime compares texts: each ends at its first NUL.
  a = a.substr(0, a.find(FChar{0}));
  b = b.substr(0, b.find(FChar{0}));
  return a.size() == b.size() && Platform::EqualIgnoringCaseAZ(a.data(), b.data(), a.size());
}
