// The plugin's log: a logger named Tallyrook over a copy of the host's sinks.
#pragma once

#include <spdlog/logger.h>

#include <memory>

namespace Tallyrook {

class PluginLog {
 public:
  // The holder of the plugin's logger, created empty on first use.
  static std::shared_ptr<spdlog::logger>& Get();
  // Makes a new logger over a copy of the host's sink list and stores it in the holder.
  static void Create();
};

}  // namespace Tallyrook
