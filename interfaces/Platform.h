// The few calls whose meaning is fixed but whose implementation differs between Windows and the
// other systems the project builds on. Everything else in the plugin is platform-neutral.
#pragma once

#include <cstddef>
#include <string>

#ifdef _WIN32
using FChar = wchar_t;  // The game's UTF-16 code unit.
#define FTEXT(text) L##text
#define TALLYROOK_ENTRY_EXPORT
#else
using FChar = char16_t;
#define FTEXT(text) u##text
// The emulated loader looks the entry point up by name, so it is the one symbol left visible.
#define TALLYROOK_ENTRY_EXPORT __attribute__((visibility("default")))
#endif

static_assert(sizeof(FChar) == 2, "the game's text is UTF-16");

namespace Platform {

// Same as _wcsnicmp(a, b, count) == 0 in the C locale: only A-Z fold, and the comparison ends at
// the first position where both texts hold a NUL. Both texts must hold at least `count` units.
bool EqualIgnoringCaseAZ(const FChar* a, const FChar* b, std::size_t count) noexcept;

// Same as WideCharToMultiByte(CP_UTF8, 0, text, count, ...): every unit is converted, a NUL
// included, and a lone surrogate becomes U+FFFD.
std::string ToUtf8(const FChar* text, std::size_t count);

// The address of `symbol` in the sibling module named `module` ("Skyparley" for Skyparley.dll),
// found among the modules already loaded into the process; the module is neither loaded nor
// pinned. Throws std::runtime_error naming what is missing, as a failed delayed import would.
void* FindSiblingFunction(const char* module, const char* symbol);

}  // namespace Platform
