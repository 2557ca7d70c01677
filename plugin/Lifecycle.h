// What the library does when the host loads and frees it.
#pragma once

namespace Tallyrook {

// Creates the log, reads the configuration, builds the routing and installs the hooks. False,
// after one line in the log, when a standard exception stopped it.
bool Load();
// Removes the hooks if the load completed.
void Unload();

}  // namespace Tallyrook
