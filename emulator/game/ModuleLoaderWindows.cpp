#ifdef _WIN32

#include <string>

#include "ModuleLoader.h"
#include "WindowsInclude.h"

namespace ModuleLoader {

namespace {

std::wstring Widen(const std::string& text) {
  return std::wstring(text.begin(), text.end());
}

}  // namespace

std::string FileName(const std::string& module) {
  return module + ".dll";
}

std::string ProgramDirectory() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string program(path, length);
  return program.substr(0, program.find_last_of("\\/"));
}

void* Load(const std::string& module, std::string& error) {
  const std::string path = ProgramDirectory() + "\\" + FileName(module);
  HMODULE handle = LoadLibraryW(Widen(path).c_str());
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

}  // namespace ModuleLoader

#endif
