// Which line of the host's logging library this build compiles against, read from the version
// macro of the spdlog actually included, so that another spdlog further along the include path
// cannot decide it. The real host ships spdlog 0.x, where a logger formats its lines and hands
// its sinks the finished text; spdlog 1.x formats in each sink, with a pattern of the sink's own.
#pragma once

#include <spdlog/spdlog.h>

#if defined(SPDLOG_VER_MAJOR) && SPDLOG_VER_MAJOR >= 1
#define TALLYROOK_SINKS_FORMAT 1  // 1.x: <spdlog/spdlog.h> brings its version.h
#elif defined(SPDLOG_VERSION)
#define TALLYROOK_SINKS_FORMAT 0  // 0.x: <spdlog/spdlog.h> names its version itself
#else
#error "an spdlog that names no version"
#endif
