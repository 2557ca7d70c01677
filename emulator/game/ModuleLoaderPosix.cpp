#ifndef _WIN32

#include <dlfcn.h>
#include <unistd.h>

#include <climits>

#include "ModuleLoader.h"

namespace ModuleLoader {

namespace {

using EntryPoint = int (*)(void* module, unsigned long reason, void* reserved);
constexpr unsigned long kProcessDetach = 0;
constexpr unsigned long kProcessAttach = 1;

EntryPoint EntryPointOf(void* handle) {
  return reinterpret_cast<EntryPoint>(dlsym(handle, "DllMain"));
}

}  // namespace

std::string FileName(const std::string& module) {
  return module + ".so";
}

std::string ProgramDirectory() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return ".";
  const std::string program(path, static_cast<std::size_t>(length));
  return program.substr(0, program.find_last_of('/'));
}

void* Load(const std::string& module, std::string& error) {
  const std::string path = ProgramDirectory() + "/" + FileName(module);
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* reason = dlerror();
    error = reason != nullptr ? reason : "cannot open " + path;
    return nullptr;
  }
  if (const EntryPoint entry = EntryPointOf(handle)) {
    if (entry(handle, kProcessAttach, nullptr) == 0) {
      entry(handle, kProcessDetach, nullptr);
      dlclose(handle);
      error = FileName(module) + ": the module's initialization routine failed";
      return nullptr;
    }
  }
  return handle;
}

void Free(void* handle) {
  if (handle == nullptr) return;
  if (const EntryPoint entry = EntryPointOf(handle)) entry(handle, kProcessDetach, nullptr);
  dlclose(handle);
}

void* Find(void* handle, const char* symbol) {
  return dlsym(handle, symbol);
}

bool IsLoaded(const std::string& module) {
  const std::string path = ProgramDirectory() + "/" + FileName(module);
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (handle != nullptr) dlclose(handle);
  return handle != nullptr;
}

}  // namespace ModuleLoader

#endif
