#include "EmulatedHost.h"

#include <spdlog/sinks/base_sink.h>

#include <algorithm>
#include <deque>
#include <map>
#include <mutex>
#include <unordered_map>

namespace {

// Writes formatted lines to one output. The host makes one for its own lines and one for the
// plugins' lines per output, so a pattern that a plugin sets never changes the host's format.
class OutputSink final : public spdlog::sinks::base_sink<std::mutex> {
 public:
  explicit OutputSink(std::shared_ptr<LogOutput> output) : output_(std::move(output)) {}

 private:
  void sink_it_(const spdlog::details::log_msg& message) override {
    spdlog::memory_buf_t line;
    formatter_->format(message, line);
    output_->Write(std::string_view(line.data(), line.size()));
  }
  void flush_() override { output_->Flush(); }

  std::shared_ptr<LogOutput> output_;
};

class HostHooks final : public IHooks {
 public:
  explicit HostHooks(class Host& host) : host_(host) {}
  bool DisableHook(const std::string& function_name, void* detour) override;
  bool SetHook(const std::string& function_name, void* detour, void** original) override;

 private:
  class Host& host_;
};

class Host final : public EmulatedHost {
 public:
  Host() : log_("ArkApi") {
    log_.set_level(spdlog::level::trace);
    log_.flush_on(spdlog::level::info);
    AddLogOutput(std::make_shared<StandardErrorOutput>(), spdlog::level::info);
  }

  void RegisterAddress(const std::string& name, void* address) override {
    addresses_[name] = address;
  }

  GameFunctionEntry& RegisterFunction(const std::string& name, void* original) override {
    auto found = functions_.find(name);
    if (found == functions_.end()) {
      found = functions_.emplace(name, &function_store_.emplace_back()).first;
      found->second->name = name;
    }
    found->second->original = original;
    found->second->target.store(original, std::memory_order_release);
    addresses_[name] = original;
    return *found->second;
  }

  void RegisterBitField(const std::string& member, std::size_t byte_offset,
                        std::uint32_t bit_position, std::uint32_t bit_count) override {
    bit_fields_[member] = {byte_offset, bit_position, bit_count};
  }

  void SetCurrentDir(std::string directory) override { current_dir_ = std::move(directory); }
  void OnCurrentDirRequested(std::function<void()> observer) override {
    current_dir_observer_ = std::move(observer);
  }

  void AddLogOutput(std::shared_ptr<LogOutput> output, spdlog::level::level_enum level) override {
    auto host_sink = std::make_shared<OutputSink>(output);
    host_sink->set_pattern(kHostLogPattern);
    host_sink->set_level(level);
    log_.sinks().push_back(std::move(host_sink));
    auto plugin_sink = std::make_shared<OutputSink>(std::move(output));
    plugin_sink->set_level(level);
    plugin_sinks_.push_back(std::move(plugin_sink));
  }

  void AddPluginSink(std::shared_ptr<LogOutput> output) override {
    plugin_sinks_.push_back(std::make_shared<OutputSink>(std::move(output)));
  }

  void RemoveLogOutputs() override {
    log_.sinks().clear();
    plugin_sinks_.clear();
  }

  spdlog::logger& Log() override { return log_; }

  void FailSetHook(int nth) override {
    const std::lock_guard lock(hooks_mutex_);
    fail_set_hook_in_ = nth;
  }

  std::vector<std::string> HookedFunctions() const override {
    const std::lock_guard lock(hooks_mutex_);
    return hooked_;
  }

  void RecordCall(std::string_view call) override {
    if (!recording_.load(std::memory_order_relaxed)) return;
    const std::lock_guard lock(record_mutex_);
    record_.emplace_back(call);
  }

  std::vector<std::string> TakeCallRecord() override {
    const std::lock_guard lock(record_mutex_);
    return std::exchange(record_, {});
  }

  void SetCallRecording(bool enabled) override { recording_.store(enabled); }

  // The operations plugins call.
  void* Address(const std::string& name) const {
    const auto found = addresses_.find(name);
    return found == addresses_.end() ? nullptr : found->second;
  }

  BitField FieldOf(const void* object, const std::string& member) const {
    const auto found = bit_fields_.find(member);
    if (found == bit_fields_.end() || object == nullptr) return {0, 0, 0};
    const BitFieldPlace& place = found->second;
    return {reinterpret_cast<std::uintptr_t>(object) + place.byte_offset, place.bit_position,
            place.bit_count};
  }

  std::string CurrentDir() const {
    if (current_dir_observer_) current_dir_observer_();
    return current_dir_;
  }

  std::vector<std::shared_ptr<spdlog::sinks::sink>>& PluginSinks() { return plugin_sinks_; }
  IHooks& Hooks() { return hooks_; }
  IApiUtils& ApiUtils() { return api_utils_; }

  bool SetHook(const std::string& name, void* detour, void** original) {
    const std::lock_guard lock(hooks_mutex_);
    if (fail_set_hook_in_ > 0 && --fail_set_hook_in_ == 0) throw std::bad_alloc();
    const auto found = functions_.find(name);
    if (found == functions_.end() || detour == nullptr || original == nullptr) return false;
    GameFunctionEntry& entry = *found->second;
    if (entry.target.load() != entry.original) return false;  // one hook per function
    *original = entry.original;
    entry.target.store(detour, std::memory_order_release);
    hooked_.push_back(name);
    return true;
  }

  bool DisableHook(const std::string& name, void* detour) {
    const std::lock_guard lock(hooks_mutex_);
    const auto found = functions_.find(name);
    if (found == functions_.end() || found->second->target.load() != detour) return false;
    found->second->target.store(found->second->original, std::memory_order_release);
    hooked_.erase(std::find(hooked_.begin(), hooked_.end(), name));
    return true;
  }

 private:
  struct BitFieldPlace {
    std::size_t byte_offset;
    std::uint32_t bit_position;
    std::uint32_t bit_count;
  };

  std::unordered_map<std::string, void*> addresses_;
  std::deque<GameFunctionEntry> function_store_;  // entries never move: the game keeps references
  std::unordered_map<std::string, GameFunctionEntry*> functions_;
  std::unordered_map<std::string, BitFieldPlace> bit_fields_;
  std::string current_dir_;
  std::function<void()> current_dir_observer_;

  spdlog::logger log_;
  std::vector<std::shared_ptr<spdlog::sinks::sink>> plugin_sinks_;

  mutable std::mutex hooks_mutex_;
  std::vector<std::string> hooked_;
  int fail_set_hook_in_ = 0;
  HostHooks hooks_{*this};
  IApiUtils api_utils_;

  std::atomic<bool> recording_{true};
  std::mutex record_mutex_;
  std::vector<std::string> record_;
};

bool HostHooks::DisableHook(const std::string& function_name, void* detour) {
  host_.RecordCall("IHooks::DisableHook " + function_name);
  return host_.DisableHook(function_name, detour);
}

bool HostHooks::SetHook(const std::string& function_name, void* detour, void** original) {
  host_.RecordCall("IHooks::SetHook " + function_name);
  return host_.SetHook(function_name, detour, original);
}

Host& TheHost() {
  static Host host;
  return host;
}

}  // namespace

EmulatedHost& GetEmulatedHost() {
  return TheHost();
}

namespace ArkApi {

IHooks& GetHooks() {
  return TheHost().Hooks();
}

void* GetAddress(const std::string& name) {
  return TheHost().Address(name);
}

BitField GetBitField(const void* object, const std::string& member) {
  TheHost().RecordCall("ArkApi::GetBitField " + member);
  return TheHost().FieldOf(object, member);
}

std::vector<std::shared_ptr<spdlog::sinks::sink>>& GetLogSinks() {
  TheHost().RecordCall("ArkApi::GetLogSinks");
  return TheHost().PluginSinks();
}

IApiUtils& GetApiUtils() {
  TheHost().RecordCall("ArkApi::GetApiUtils");
  return TheHost().ApiUtils();
}

namespace Tools {
std::string GetCurrentDir() {
  TheHost().RecordCall("ArkApi::Tools::GetCurrentDir");
  return TheHost().CurrentDir();
}
}  // namespace Tools

}  // namespace ArkApi
