// The library's entry point, called by the loader; the plugin exports nothing else.
#include "Lifecycle.h"
#include "Platform.h"

namespace {

constexpr unsigned long kProcessDetach = 0;
constexpr unsigned long kProcessAttach = 1;

}  // namespace

extern "C" TALLYROOK_ENTRY_EXPORT int DllMain(void* /*module*/, unsigned long reason,
                                              void* /*reserved*/) {
  switch (reason) {
    case kProcessAttach:
      return Tallyrook::Load() ? 1 : 0;
    case kProcessDetach:
      Tallyrook::Unload();
      return 1;
    default:  // thread attach and detach, and anything else, need no work
      return 1;
  }
}
