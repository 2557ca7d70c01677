#include "PluginLog.h"

#include <spdlog/sinks/sink.h>

#include "ArkApi.h"
#include "LogLibrary.h"

namespace Tallyrook {

namespace {

constexpr const char* kPattern = "%D %R [%n][%l] %v";

}  // namespace

std::shared_ptr<spdlog::logger>& PluginLog::Get() {
  static std::shared_ptr<spdlog::logger> holder;
  return holder;
}

void PluginLog::Create() {
  const auto& sinks = GetLogSinks();
  auto& logger = Get();
  logger = std::make_shared<spdlog::logger>("Tallyrook", sinks.begin(), sinks.end());
#if TALLYROOK_SINKS_FORMAT
  // spdlog 1.x formats in each sink, and each builds its formatter itself: one built here would
  // be left in the host's sinks, pointing into this module, once the plugin is freed.
  for (const auto& sink : logger->sinks()) sink->set_pattern(kPattern);
#else
  // spdlog 0.x, the host's own line: the logger formats, its sinks receive the line.
  logger->set_pattern(kPattern);
#endif
  logger->set_level(spdlog::level::info);
  logger->flush_on(spdlog::level::info);
}

}  // namespace Tallyrook
