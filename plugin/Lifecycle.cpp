#include "Lifecycle.h"

#include <exception>
#include <stdexcept>

#include "Configuration.h"
#include "Hooks.h"
#include "PluginLog.h"

namespace Tallyrook {

namespace {

bool loaded = false;

}  // namespace

bool Load() noexcept {
  try {
    PluginLog::Create();
  } catch (...) {
    return false;  // with no log there is nowhere to say why; the host's load fails
  }
  try {
    if (!LoadConfiguration()) throw std::runtime_error("Can't parse configuration");
    if (!InitializeManager()) throw std::runtime_error("Can't initialize manager");
    InstallHooks();
    loaded = true;
    return true;
  } catch (const std::exception& error) {
    PluginLog::Get()->error("Exception: {}", error.what());
    return false;
  } catch (...) {
    PluginLog::Get()->error("Exception: {}", "unknown exception");
    return false;
  }
}

void Unload() noexcept {
  if (loaded) RemoveHooks();
}

}  // namespace Tallyrook
