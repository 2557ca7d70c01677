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

struct TaskBatch::Task {
  Run run;
  void* context;
  std::size_t index;
  PTP_WORK work;
};

namespace {

void CALLBACK RunTask(PTP_CALLBACK_INSTANCE /*instance*/, void* task_pointer, PTP_WORK /*work*/) {
  const auto& task = *static_cast<const TaskBatch::Task*>(task_pointer);
  task.run(task.context, task.index);
}

// This module, so that the pool holds it while one of its callbacks runs.
HMODULE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

void WaitAndClose(std::vector<TaskBatch::Task>& tasks) noexcept {
  for (const TaskBatch::Task& task : tasks) {
    WaitForThreadpoolWorkCallbacks(task.work, FALSE);
    CloseThreadpoolWork(task.work);
  }
}

}  // namespace

TaskBatch::TaskBatch(std::size_t count, Run run, void* context) {
  tasks_.reserve(count);  // the pool keeps each task's address: they never move
  TP_CALLBACK_ENVIRON environment;
  InitializeThreadpoolEnvironment(&environment);
  SetThreadpoolCallbackLibrary(&environment, ThisModule());
  for (std::size_t i = 0; i < count; ++i) {
    tasks_.push_back({run, context, i, nullptr});
    PTP_WORK work = CreateThreadpoolWork(&RunTask, &tasks_.back(), &environment);
    if (work == nullptr) {
      tasks_.pop_back();
      WaitAndClose(tasks_);
      DestroyThreadpoolEnvironment(&environment);
      throw std::runtime_error("the thread pool took no more work");
    }
    tasks_.back().work = work;
    SubmitThreadpoolWork(work);
  }
  DestroyThreadpoolEnvironment(&environment);
}

TaskBatch::~TaskBatch() {
  WaitAndClose(tasks_);
}

void TaskBatch::Wait(std::size_t index) {
  WaitForThreadpoolWorkCallbacks(tasks_[index].work, FALSE);
}

}  // namespace Platform

#endif
