// What every program of the emulated server sets up first, so that it behaves alike on every
// platform: a crash ends it at once with kCrashExitStatus (instead of starting a debugger that
// waits for somebody, as wine does), and its output is written byte for byte.
#pragma once

inline constexpr int kCrashExitStatus = 97;

void SetUpProgram();
