#include "PluginLog.h"

#include <spdlog/sinks/sink.h>

#include "ArkApi.h"

namespace Tallyrook {

std::shared_ptr<spdlog::logger>& PluginLog::Get() {
  static std::shared_ptr<spdlog::logger> holder;
  return holder;
}

void PluginLog::Create() {
  const auto& sinks = ArkApi::GetLogSinks();
  auto& logger = Get();
  logger = std::make_shared<spdlog::logger>("Tallyrook", sinks.begin(), sinks.end());
  // Each sink builds its formatter itself: one built here would be left in the host's sinks,
  // pointing into this module, once the plugin is freed.
  for (const auto& sink : logger->sinks()) sink->set_pattern("%D %R [%n][%l] %v");
  logger->set_level(spdlog::level::info);
  logger->flush_on(spdlog::level::info);
}

}  // namespace Tallyrook
