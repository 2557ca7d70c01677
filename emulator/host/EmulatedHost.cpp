#include "EmulatedHost.h"

#include <spdlog/sinks/base_sink.h>

#include "LogLibrary.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <unordered_map>

namespace {

// Writes formatted lines to one output. The host makes one for its own lines and one for the
// plugins' lines per output, so a pattern that a plugin sets never changes the host's format.
#if TALLYROOK_SINKS_FORMAT
// spdlog 1.x: each sink formats with a pattern of its own.
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

// A sink that cannot take a pattern: setting one throws, as running out of memory would.
class FailingSink final : public spdlog::sinks::sink {
 public:
  void log(const spdlog::details::log_msg& /*message*/) override {}
  void flush() override {}
  void set_pattern(const std::string& /*pattern*/) override {
    throw std::runtime_error("this sink takes no pattern");
  }
  void set_formatter(std::unique_ptr<spdlog::formatter> /*formatter*/) override {
    throw std::runtime_error("this sink takes no formatter");
  }
};
#else
// spdlog 0.x, the real host's line: the logger formats, and its sinks receive the line.
class OutputSink final : public spdlog::sinks::base_sink<std::mutex> {
 public:
  explicit OutputSink(std::shared_ptr<LogOutput> output) : output_(std::move(output)) {}

 private:
  void _sink_it(const spdlog::details::log_msg& message) override {
    output_->Write(std::string_view(message.formatted.data(), message.formatted.size()));
  }
  void _flush() override { output_->Flush(); }

  std::shared_ptr<LogOutput> output_;
};

// A sink that fails every line it is given.
class FailingSink final : public spdlog::sinks::sink {
 public:
  void log(const spdlog::details::log_msg& /*message*/) override {
    throw std::runtime_error("this sink takes no line");
  }
  void flush() override {}
};
#endif

// The hook manager as the host lays it out, independently of any plugin's declaration: an object
// whose first word points at a table of three entries (one never called, DisableHook, SetHook),
// each called with the object first, as a virtual call passes it.
struct HookManager {
  const void* const* table;
  class Host* host;
};

void UnusedHookEntry(HookManager* manager);
bool DisableHookEntry(HookManager* manager, const std::string& function_name, void* detour);
bool SetHookEntry(HookManager* manager, const std::string& function_name, void* detour,
                  void** original);

const void* const kHookManagerTable[] = {
    reinterpret_cast<const void*>(&UnusedHookEntry),
    reinterpret_cast<const void*>(&DisableHookEntry),
    reinterpret_cast<const void*>(&SetHookEntry),
};

class Host final : public EmulatedHost {
 public:
  Host() { AddLogOutput(std::make_shared<StandardErrorOutput>(), spdlog::level::info); }

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
                        std::uint32_t bit_position, std::uint32_t bit_count,
                        std::uint32_t byte_length) override {
    bit_fields_[member] = {byte_offset, bit_position, bit_count, byte_length};
  }

  void SetCurrentDir(std::string directory) override { current_dir_ = std::move(directory); }
  void OnCurrentDirRequested(std::function<void()> observer) override {
    current_dir_observer_ = std::move(observer);
  }

  void AddLogOutput(std::shared_ptr<LogOutput> output, spdlog::level::level_enum level) override {
    auto host_sink = std::make_shared<OutputSink>(output);
#if TALLYROOK_SINKS_FORMAT
    host_sink->set_pattern(kHostLogPattern);
#endif
    host_sink->set_level(level);
    host_sinks_.push_back(std::move(host_sink));
    MakeLog();
    auto plugin_sink = std::make_shared<OutputSink>(std::move(output));
    plugin_sink->set_level(level);
    plugin_sinks_.push_back(std::move(plugin_sink));
  }

  void AddPluginSink(std::shared_ptr<LogOutput> output) override {
    plugin_sinks_.push_back(std::make_shared<OutputSink>(std::move(output)));
  }

  void AddFailingPluginSink() override {
    plugin_sinks_.push_back(std::make_shared<FailingSink>());
  }

  void RemoveLogOutputs() override {
    host_sinks_.clear();
    plugin_sinks_.clear();
    MakeLog();
  }

  spdlog::logger& Log() override {
    return *log_;
  }

  void FailSetHook(int nth, bool after_installing) override {
    const std::lock_guard lock(hooks_mutex_);
    fail_set_hook_in_ = nth;
    fail_set_hook_after_installing_ = after_installing;
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

  void SetCallRecording(bool enabled) override {
    recording_.store(enabled);
  }

  // The operations plugins call.
  void* Address(const std::string& name) const {
    const auto found = addresses_.find(name);
    return found == addresses_.end() ? nullptr : found->second;
  }

  // The description as the host lays it out, all four fields, handed over byte for byte as the
  // type plugins declare for it.
  BitField FieldOf(const void* object, const std::string& member) const {
    struct Description {
      std::uintptr_t word;     // bytes 0-7: the address of the 32-bit word holding the member
      std::uint32_t position;  // bytes 8-11: the bit position, then 4 bytes of padding
      std::uint64_t count;     // bytes 16-23: the bit count
      std::uint64_t length;    // bytes 24-31: how many bytes hold the member
    };
    static_assert(sizeof(Description) == 32 && sizeof(BitField) == sizeof(Description),
                  "the host's four fields");
    Description description{0, 0, 0, 0};
    const auto found = bit_fields_.find(member);
    if (found != bit_fields_.end() && object != nullptr) {
      const BitFieldPlace& place = found->second;
      description = {reinterpret_cast<std::uintptr_t>(object) + place.byte_offset,
                     place.bit_position, place.bit_count, place.byte_length};
    }
    BitField field;
    std::memcpy(static_cast<void*>(&field), &description, sizeof description);
    return field;
  }

  std::string CurrentDir() const {
    if (current_dir_observer_) current_dir_observer_();
    return current_dir_;
  }

  std::vector<std::shared_ptr<spdlog::sinks::sink>>& PluginSinks() {
    return plugin_sinks_;
  }
  ArkApi::IHooks& Hooks() {
    return *hooks_as_plugins_see_them_;
  }
  ArkApi::IApiUtils& ApiUtils() {
    return api_utils_;
  }

  bool SetHook(const std::string& name, void* detour, void** original) {
    const std::lock_guard lock(hooks_mutex_);
    const bool fail = fail_set_hook_in_ > 0 && --fail_set_hook_in_ == 0;
    if (fail && !fail_set_hook_after_installing_) throw std::bad_alloc();
    const auto found = functions_.find(name);
    if (found == functions_.end() || detour == nullptr || original == nullptr) return false;
    GameFunctionEntry& entry = *found->second;
    if (entry.target.load() != entry.original) return false;  // one hook per function
    *original = entry.original;
    entry.target.store(detour, std::memory_order_release);
    hooked_.push_back(name);
    if (fail) throw std::bad_alloc();
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
    std::uint32_t byte_length;
  };

  std::unordered_map<std::string, void*> addresses_;
  std::deque<GameFunctionEntry> function_store_;  // entries never move: the game keeps references
  std::unordered_map<std::string, GameFunctionEntry*> functions_;
  std::unordered_map<std::string, BitFieldPlace> bit_fields_;
  std::string current_dir_;
  std::function<void()> current_dir_observer_;

  // The host's own logger over its own sinks, made anew when they change: spdlog 0.x lets no
  // sink be added to a logger.
  void MakeLog() {
    log_ = std::make_shared<spdlog::logger>("ArkApi", host_sinks_.begin(), host_sinks_.end());
#if !TALLYROOK_SINKS_FORMAT
    log_->set_pattern(kHostLogPattern);
#endif
    log_->set_level(spdlog::level::trace);
    log_->flush_on(spdlog::level::info);
  }

  std::vector<std::shared_ptr<spdlog::sinks::sink>> host_sinks_;
  std::shared_ptr<spdlog::logger> log_;
  std::vector<std::shared_ptr<spdlog::sinks::sink>> plugin_sinks_;

  mutable std::mutex hooks_mutex_;
  std::vector<std::string> hooked_;
  int fail_set_hook_in_ = 0;
  bool fail_set_hook_after_installing_ = false;
  HookManager hook_manager_{kHookManagerTable, this};
  // Plugins reach the object through their own declaration of the interface; this host never does.
  ArkApi::IHooks* hooks_as_plugins_see_them_ = reinterpret_cast<ArkApi::IHooks*>(&hook_manager_);
  ArkApi::IApiUtils api_utils_;

  std::atomic<bool> recording_{true};
  std::mutex record_mutex_;
  std::vector<std::string> record_;
};

void UnusedHookEntry(HookManager* manager) {
  manager->host->RecordCall("IHooks::<slot 0, never called>");
}

bool DisableHookEntry(HookManager* manager, const std::string& function_name, void* detour) {
  manager->host->RecordCall("IHooks::DisableHook " + function_name);
  return manager->host->DisableHook(function_name, detour);
}

bool SetHookEntry(HookManager* manager, const std::string& function_name, void* detour,
                  void** original) {
  manager->host->RecordCall("IHooks::SetHook " + function_name);
  return manager->host->SetHook(function_name, detour, original);
}

Host& TheHost() {
  static Host host;
  return host;
}

}  // namespace

EmulatedHost& GetEmulatedHost() {
  return TheHost();
}

void* GetAddress(const std::string& name) {
  return TheHost().Address(name);
}

BitField GetBitField(const void* object, const std::string& member) {
  TheHost().RecordCall("GetBitField " + member);
  return TheHost().FieldOf(object, member);
}

std::vector<std::shared_ptr<spdlog::sinks::sink>>& GetLogSinks() {
  TheHost().RecordCall("GetLogSinks");
  return TheHost().PluginSinks();
}

namespace ArkApi {

IHooks& GetHooks() {
  return TheHost().Hooks();
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
