// What a value a player or a connection controls may look like inside a report: inert (no fence,
// no line, no reversed reading), and cut so that the report fits in one Discord message.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

#include "FString.h"

namespace Tallyrook {

using ReportValue = std::basic_string<FChar>;

// Discord refuses a message longer than this many UTF-16 code units.
inline constexpr std::size_t kDiscordMessageLimit = 2000;

// `text` with each backtick followed by U+200B, each C0 control and DEL shown as its control
// picture, and C1 controls, line and paragraph separators and bidirectional controls as U+FFFD.
ReportValue InertText(FStringView text);

// The command with everything after its name, which ends at `name_end`, replaced by
// " [arguments hidden]"; unchanged when nothing but white space follows the name.
ReportValue WithArgumentsHidden(FStringView command, std::size_t name_end);

// How long a template is once the relay's JSON string is decoded: each \n pair is one character,
// each {} placeholder nothing. Templates are ASCII.
constexpr std::size_t DeliveredTemplateLength(std::string_view report_template) {
  std::size_t length = 0;
  for (std::size_t i = 0; i < report_template.size(); ++i) {
    const bool pair = i + 1 < report_template.size();
    if (pair && report_template[i] == '\\' && report_template[i + 1] == 'n') {
      ++i, ++length;
    } else if (pair && report_template[i] == '{' && report_template[i + 1] == '}') {
      ++i;
    } else {
      ++length;
    }
  }
  return length;
}

// UTF-16 code units of a UTF-8 text.
std::size_t Utf16Length(std::string_view utf8) noexcept;
// Decimal digits of a number.
std::size_t DecimalDigits(unsigned long long number) noexcept;

// Shortens `values`, the first first and the next only while that is not enough, so that `used`
// units plus theirs fit in Discord's limit. A shortened value is cut at a code-point boundary
// and ends in "… [N more characters]", N the characters (code points) of the value as it was
// before it was made inert that no longer show.
void FitInOneMessage(std::size_t used, std::initializer_list<ReportValue*> values);

}  // namespace Tallyrook
