// Installing and removing the three hooks on the game's command functions.
#pragma once

namespace Tallyrook {

// Hooks the three functions in table order. Should one attempt throw, every hook attempted so far,
// the one that threw included, is removed before the exception passes on, so a failed load
// leaves no hook behind.
void InstallHooks();
// Removes the three hooks in table order; never throws.
void RemoveHooks() noexcept;

}  // namespace Tallyrook
