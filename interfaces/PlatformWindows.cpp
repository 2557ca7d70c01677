#ifdef _WIN32

#include "Platform.h"

#include <wchar.h>

#include <stdexcept>

#include "WindowsInclude.h"

namespace Platform {

bool EqualIgnoringCaseAZ(const FChar* a, const FChar* b, std::size_t count) noexcept {
  return count == 0 || _wcsnicmp(a, b, count) == 0;
}

std::string ToUtf8(const FChar* text, std::size_t count) {
  if (count == 0) return {};
  const int units = static_cast<int>(count);
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, units, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, units, out.data(), bytes, nullptr, nullptr);
  return out;
}

void* HoldLoadedModule(const char* module) {
  const std::string file = std::string(module) + ".dll";
  const std::wstring wide(file.begin(), file.end());
  HMODULE handle = nullptr;
  // Pinned: the module stays loaded until the process ends, whoever frees it.
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN, wide.c_str(), &handle)) {
    throw std::runtime_error("module not loaded: " + file);
  }
  return handle;
}

void* FindModuleFunction(void* handle, const char* module, const char* symbol) {
  FARPROC address = GetProcAddress(static_cast<HMODULE>(handle), symbol);
  if (address == nullptr) {
    throw std::runtime_error("function not found in " + std::string(module) + ".dll: " + symbol);
  }
  return reinterpret_cast<void*>(address);
}

}  // namespace Platform

#endif
