// The UCRT's start-up functions and types, as the static CRT objects declare them.
#pragma once
#include <stddef.h>
extern "C" {
typedef void(__cdecl* _PVFV)(void);
typedef int(__cdecl* _PIFV)(void);
struct _onexit_table_t {
  _PVFV* _first;
  _PVFV* _last;
  _PVFV* _end;
};
__declspec(dllimport) void __cdecl _initterm(_PVFV*, _PVFV*);
__declspec(dllimport) int __cdecl _initterm_e(_PIFV*, _PIFV*);
__declspec(dllimport) int __cdecl _initialize_onexit_table(_onexit_table_t*);
__declspec(dllimport) int __cdecl _execute_onexit_table(_onexit_table_t*);
__declspec(dllimport) void __cdecl _set_app_type(int);
__declspec(dllimport) int __cdecl _configure_narrow_argv(int);
__declspec(dllimport) int __cdecl _initialize_narrow_environment(void);
__declspec(dllimport) int* __cdecl __p___argc(void);
__declspec(dllimport) char*** __cdecl __p___argv(void);
__declspec(dllimport) void __cdecl __std_type_info_destroy_list(void*);
}
