// Stand-in for MSVC's CRT entry points; -DCRTSHIM_DLL: the DLL one (crtentry_dll), else the console
// EXE one.
#include <stdlib.h>
#include "ucrt_startup.h"
extern "C" {
extern _PIFV __xi_a[], __xi_z[];
extern _PVFV __xc_a[], __xc_z[];
extern _onexit_table_t* __crtshim_module_atexit;
}
struct __type_info_node;
extern __type_info_node __type_info_root_node;
#ifdef CRTSHIM_DLL
static _onexit_table_t module_atexit;
extern "C" int __stdcall DllMain(void*, unsigned long, void*);
extern "C" int __stdcall __crtshim_DllMain_default(void*, unsigned long, void*) {
  return 1;
}
#pragma comment(linker, "/alternatename:DllMain=__crtshim_DllMain_default")
extern "C" int __stdcall _DllMainCRTStartup(void* instance, unsigned long reason, void* reserved) {
  if (reason == 1 /* DLL_PROCESS_ATTACH */) {
    _initialize_onexit_table(&module_atexit);
    __crtshim_module_atexit = &module_atexit;
    if (_initterm_e(__xi_a, __xi_z) != 0) return 0;
    _initterm(__xc_a, __xc_z);
  }
  int result = DllMain(instance, reason, reserved);
  if (reason == 0 /* DLL_PROCESS_DETACH */) {
    _execute_onexit_table(&module_atexit);
    __std_type_info_destroy_list(&__type_info_root_node);
  }
  return result;
}
#else
extern "C" int main(int, char**);
extern "C" int mainCRTStartup() {
  _set_app_type(1 /* _crt_console_app */);
  _configure_narrow_argv(1 /* _crt_argv_unexpanded_arguments */);
  _initialize_narrow_environment();
  if (_initterm_e(__xi_a, __xi_z) != 0) return 255;
  _initterm(__xc_a, __xc_z);
  exit(main(*__p___argc(), *__p___argv()));
}
#endif
