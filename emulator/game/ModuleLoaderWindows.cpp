#ifdef _WIN32

#include <filesystem>
#include <string>

#include "ModuleLoader.h"
#include "WindowsInclude.h"

namespace ModuleLoader {

namespace {

std::filesystem::path ProgramFolder() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::filesystem::path(std::wstring(path, length)).parent_path();
}

}  // namespace

std::string FileName(const std::string& module) {
  return module + ".dll";
}

std::string ProgramDirectory() {
  return ProgramFolder().string();
}

void* Load(const std::string& module, std::string& error) {
  const std::filesystem::path path = ProgramFolder() / FileName(module);
  HMODULE handle = LoadLibraryW(path.wstring().c_str());
  if (handle == nullptr) {
    error = FileName(module) + ": LoadLibraryW failed with error " + std::to_string(GetLastError());
  }
  return handle;
}

void Free(void* handle) {
  if (handle != nullptr) FreeLibrary(static_cast<HMODULE>(handle));
}

void* Find(void* handle, const char* symbol) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), symbol));
}

bool IsLoaded(const std::string& module) {
  return GetModuleHandleW((ProgramFolder() / FileName(module)).wstring().c_str()) != nullptr;
}

}  // namespace ModuleLoader

#endif
