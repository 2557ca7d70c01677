// `check` and `explain` build a configuration with the plugin's own code, whose texts live in the
// game's memory. Without a game in the process they get a heap of their own.
#pragma once

namespace devserver {

// Gives the host a memory for texts when no game has given it one; the game's, when it has.
void ProvideTextHeap();

}  // namespace devserver
