#ifndef _WIN32

#include "Platform.h"

#include <dlfcn.h>

#include <stdexcept>

namespace Platform {

namespace {

constexpr char16_t FoldAZ(char16_t c) noexcept {
  return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool IsHighSurrogate(char16_t c) noexcept {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) noexcept {
  return c >= 0xDC00 && c <= 0xDFFF;
}

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

}  // namespace

bool EqualIgnoringCaseAZ(const FChar* a, const FChar* b, std::size_t count) noexcept {
  for (std::size_t i = 0; i < count; ++i) {
    const char16_t left = FoldAZ(a[i]);
    if (left != FoldAZ(b[i])) return false;
    if (left == 0) return true;
  }
  return true;
}

std::string ToUtf8(const FChar* text, std::size_t count) {
  std::string out;
  out.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const char16_t unit = text[i];
    if (IsHighSurrogate(unit) && i + 1 < count && IsLowSurrogate(text[i + 1])) {
      AppendUtf8(out, 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      AppendUtf8(out, 0xFFFD);
    } else {
      AppendUtf8(out, unit);
    }
  }
  return out;
}

void* FindSiblingFunction(const char* module, const char* symbol) {
  const std::string file = std::string(module) + ".so";
  // RTLD_NOLOAD finds the module only if the host loaded it; closing the extra reference at once
  // leaves its lifetime to the host, as GetModuleHandle does on Windows.
  void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (handle == nullptr) throw std::runtime_error("module not loaded: " + file);
  void* address = dlsym(handle, symbol);
  dlclose(handle);
  if (address == nullptr) throw std::runtime_error("function not found in " + file + ": " + symbol);
  return address;
}

}  // namespace Platform

#endif
