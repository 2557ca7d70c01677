#include "Lifecycle.h"

#include <exception>

#include "PluginLog.h"

namespace Tallyrook {

namespace {

bool loaded = false;

}  // namespace

bool Load() {
  PluginLog::Create();
  try {
    loaded = true;
    return true;
  } catch (const std::exception& error) {
    PluginLog::Get()->error("Exception: {}", error.what());
    return false;
  }
}

void Unload() {
  if (!loaded) return;
}

}  // namespace Tallyrook
