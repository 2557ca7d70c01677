// What the library does when the host loads and frees it.
#pragma once

namespace Tallyrook {

// Creates the log, reads the configuration, builds the routing and installs the hooks. False,
// after one line in the log, when a standard exception stopped it; false with no line when the
// log itself could not be made. Never throws.
bool Load() noexcept;
// Removes the hooks if the load completed.
void Unload() noexcept;

}  // namespace Tallyrook
