// The few calls whose meaning is fixed but whose implementation differs between Windows and the
// other systems the project builds on. Everything else in the plugin is platform-neutral.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

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

// The sibling module named `module` ("Skyparley" for Skyparley.dll), found among the modules
// already loaded into the process, and held from then on so that it stays loaded for good, as a
// delayed import holds it; a module that is not loaded is not loaded here. Throws
// std::runtime_error naming the module when it is not loaded, as a failed delayed import would.
void* HoldLoadedModule(const char* module);

// The address of `symbol` in a module that HoldLoadedModule returned. Throws std::runtime_error
// naming what is missing.
void* FindModuleFunction(void* handle, const char* module, const char* symbol);

// Tasks that run at once on the system's worker threads: on Windows its thread pool (where the
// standard asynchronous facility of Microsoft's library runs them), elsewhere one thread each
// from the standard asynchronous facility. Every task is submitted before the constructor
// returns; none is deferred until waited for. The module stays loaded while a task runs.
// Never to be used inside DllMain, which must not wait for other threads.
class TaskBatch {
 public:
  using Run = void (*)(void* context, std::size_t index) noexcept;

  // Submits run(context, i) for every i below `count`. Throws when the system cannot take a
  // task, after waiting for those it took.
  TaskBatch(std::size_t count, Run run, void* context);
  // Waits for every task.
  ~TaskBatch();
  TaskBatch(const TaskBatch&) = delete;
  TaskBatch& operator=(const TaskBatch&) = delete;

  // Returns once task `index` has finished.
  void Wait(std::size_t index);

  struct Task;  // each platform's own

 private:
  std::vector<Task> tasks_;
};

}  // namespace Platform
