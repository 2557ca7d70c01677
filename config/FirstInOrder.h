// Evaluating several candidates at once while keeping the answer of an in-order scan.
#pragma once

#include <cstddef>
#include <future>
#include <vector>

namespace Tallyrook {

// Starts `evaluate(i)` for every i below `count` as its own asynchronous task, all before any
// result is taken, then takes the results in index order and returns the first that is not
// empty. Returns, or passes on a taken task's exception, only after every task has finished:
// the tasks may refer to the caller's values.
template <typename Result, typename Evaluate>
Result FirstInOrder(std::size_t count, const Evaluate& evaluate) {
  std::vector<std::future<Result>> tasks;
  tasks.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    tasks.push_back(std::async(std::launch::async, [&evaluate, i] { return evaluate(i); }));
  }
  for (auto& task : tasks) {
    Result result = task.get();
    if (result) return result;  // the tasks left untaken are waited for as `tasks` goes
  }
  return Result{};
}

}  // namespace Tallyrook
