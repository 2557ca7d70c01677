// A destination of log lines (standard error, or lines kept in memory), shared by every sink that
// writes to it.
#pragma once

#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

class LogOutput {
 public:
  virtual ~LogOutput() = default;
  virtual void Write(std::string_view line) = 0;
  virtual void Flush() = 0;
};

class StandardErrorOutput final : public LogOutput {
 public:
  void Write(std::string_view line) override { std::fwrite(line.data(), 1, line.size(), stderr); }
  void Flush() override { std::fflush(stderr); }
};

// Keeps every line it receives and counts flushes, so a test can read both.
class CapturedLog final : public LogOutput {
 public:
  void Write(std::string_view line) override {
    const std::lock_guard lock(mutex_);
    lines_.emplace_back(line);
  }
  void Flush() override {
    const std::lock_guard lock(mutex_);
    flushed_lines_ = lines_.size();
  }
  std::vector<std::string> Lines() const {
    const std::lock_guard lock(mutex_);
    return lines_;
  }
  // How many of the lines had been written when the output was last flushed.
  std::size_t FlushedLines() const {
    const std::lock_guard lock(mutex_);
    return flushed_lines_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> lines_;
  std::size_t flushed_lines_ = 0;
};
