#include "ProgramSetup.h"

#ifdef _WIN32

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>

#include "WindowsInclude.h"

namespace {

LONG WINAPI ExitAtOnce(EXCEPTION_POINTERS* /*exception*/) {
  std::_Exit(kCrashExitStatus);
}

}  // namespace

void SetUpProgram() {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  SetUnhandledExceptionFilter(&ExitAtOnce);
  // Text mode would turn each line end into CR LF.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

#else

void SetUpProgram() {}  // a crash already ends the program, and output is already bytes

#endif
