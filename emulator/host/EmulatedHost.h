// The emulated plugin host's own controls: what the emulated game registers with it, and what a
// test or the devserver asks of it. Plugins never see this header.
#pragma once

#include <spdlog/common.h>
#include <spdlog/logger.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ArkApi.h"
#include "LogOutput.h"

// A game function that plugins may hook. The game calls it through `Target()`, which is the
// hooking plugin's detour while a hook is in place and the game's own function otherwise.
struct GameFunctionEntry {
  std::string name;
  void* original = nullptr;
  std::atomic<void*> target{nullptr};

  template <typename Function>
  Function Target() const noexcept {
    return reinterpret_cast<Function>(target.load(std::memory_order_acquire));
  }
};

class EmulatedHost {
 public:
  // Registration by the game; done before any plugin is loaded, since lookups take no lock.
  virtual void RegisterAddress(const std::string& name, void* address) = 0;
  virtual GameFunctionEntry& RegisterFunction(const std::string& name, void* original) = 0;
  // `byte_length`: how many bytes of the object hold the member, the host's fourth field.
  virtual void RegisterBitField(const std::string& member, std::size_t byte_offset,
                                std::uint32_t bit_position, std::uint32_t bit_count,
                                std::uint32_t byte_length) = 0;

  virtual void SetCurrentDir(std::string directory) = 0;
  // Runs `observer` inside every GetCurrentDir call, before it answers; empty to stop.
  virtual void OnCurrentDirRequested(std::function<void()> observer) = 0;

  // Adds `output` to the host's own log and to the sinks handed to plugins; both sinks write to
  // it with their own patterns and have the level `level`.
  virtual void AddLogOutput(std::shared_ptr<LogOutput> output,
                            spdlog::level::level_enum level = spdlog::level::trace) = 0;
  // Adds an output only to the sinks handed to plugins, as a host that grows its list later.
  virtual void AddPluginSink(std::shared_ptr<LogOutput> output) = 0;
  // Adds a sink to those handed to plugins that throws when given a pattern, as a host sink that
  // cannot build its formatter would.
  virtual void AddFailingPluginSink() = 0;
  virtual void RemoveLogOutputs() = 0;
  virtual spdlog::logger& Log() = 0;

  // Makes the `nth` SetHook call from now on throw std::bad_alloc, as a host out of memory would,
  // before or after installing its hook; 0 disarms.
  virtual void FailSetHook(int nth, bool after_installing = false) = 0;
  // The hooks in place, by game-function name, in the order they were set.
  virtual std::vector<std::string> HookedFunctions() const = 0;

  // A record of the calls that plugins make to the host and to its sibling plugins, in order.
  virtual void RecordCall(std::string_view call) = 0;
  virtual std::vector<std::string> TakeCallRecord() = 0;
  virtual void SetCallRecording(bool enabled) = 0;

 protected:
  ~EmulatedHost() = default;
};

ARK_API EmulatedHost& GetEmulatedHost();

// The host's own line pattern, unlike any plugin's.
inline constexpr const char* kHostLogPattern = "[%Y.%m.%d-%H.%M.%S] [%n] [%l] %v";
