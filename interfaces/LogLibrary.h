// Which line of the host's logging library this build compiles against. The real host ships
// spdlog 0.x, where a logger formats its lines and hands its sinks the finished text; spdlog 1.x
// formats in each sink, with a pattern of the sink's own.
#pragma once

#if __has_include(<spdlog/version.h>)
#include <spdlog/version.h>  // 1.x only
#endif

#if defined(SPDLOG_VER_MAJOR)
#define TALLYROOK_SINKS_FORMAT 1
#else
#define TALLYROOK_SINKS_FORMAT 0
#endif
