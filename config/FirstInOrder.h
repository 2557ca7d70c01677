// Evaluating several candidates at once while keeping the answer of an in-order scan.
#pragma once

#include <cstddef>
#include <exception>
#include <utility>
#include <vector>

#include "Platform.h"

namespace Tallyrook {

// A taken task's exception, raised again on the caller's thread inside a new one that owns it.
// Rethrowing the stored exception itself would leave its lifetime to the C++ runtime: one that
// throws the stored object rather than a copy (wine's msvcp140 does) would free it with the
// tasks' results while the caller still handles it.
struct TaskFailed : std::exception {
  TaskFailed(std::size_t index, std::exception_ptr raised) noexcept
      : task(index), error(std::move(raised)) {}
  const char* what() const noexcept override { return "a task failed"; }
  std::size_t task;
  std::exception_ptr error;
};

// Starts `evaluate(i)` for every i below `count` as its own task on the system's worker threads,
// all before any result is taken, then takes the results in index order and returns the first
// that is not empty. Returns, or throws TaskFailed for a taken task's exception, only after every
// task has finished: the tasks may refer to the caller's values.
template <typename Result, typename Evaluate>
Result FirstInOrder(std::size_t count, const Evaluate& evaluate) {
  struct Outcome {
    Result result{};
    std::exception_ptr error;
  };
  struct Work {
    const Evaluate& evaluate;
    std::vector<Outcome> outcomes;
  };
  Work work{evaluate, std::vector<Outcome>(count)};
  const Platform::TaskBatch::Run run = [](void* context, std::size_t i) noexcept {
    Work& shared = *static_cast<Work*>(context);
    try {
      shared.outcomes[i].result = shared.evaluate(i);
    } catch (...) {
      shared.outcomes[i].error = std::current_exception();
    }
  };
  Platform::TaskBatch tasks(count, run, &work);  // gone before `work`: waits for every task
  for (std::size_t i = 0; i < count; ++i) {
    tasks.Wait(i);
    Outcome& outcome = work.outcomes[i];
    if (outcome.error) throw TaskFailed(i, std::move(outcome.error));
    if (outcome.result) return std::move(outcome.result);
  }
  return Result{};
}

}  // namespace Tallyrook
