/* Wrapper: wine's stdlib.h plus the UCRT declarations it lacks. */
#define atexit __wine_dllimport_atexit
#include_next <stdlib.h>
#undef atexit
#include <errno.h>
#ifndef __TALLYROOK_STDLIB_FIXUPS
#define __TALLYROOK_STDLIB_FIXUPS
#ifdef __cplusplus
extern "C" {
#endif
int __cdecl atexit(void(__cdecl*)(void)); /* static CRT part (crtshim), as in UCRT */
_ACRTIMP __declspec(noreturn) void __cdecl quick_exit(int);
#define _WRITE_ABORT_MSG 0x1
#define _CALL_REPORTFAULT 0x2
_ACRTIMP unsigned int __cdecl _set_abort_behavior(unsigned int, unsigned int);
_ACRTIMP errno_t __cdecl getenv_s(size_t*, char*, size_t, const char*);
_ACRTIMP int __cdecl _crt_at_quick_exit(void(__cdecl*)(void));
static __inline int __cdecl at_quick_exit(void(__cdecl* _F)(void)) {
  return _crt_at_quick_exit(_F);
}
#ifdef __cplusplus
}
#endif
#endif
