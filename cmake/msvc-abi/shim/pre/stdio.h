/* Wrapper: wine's stdio.h plus the UCRT inline functions it lacks. */
#include_next <stdio.h>

#include <share.h> /* the UCRT's stdio.h gives _SH_DENYWR and its kin */
#ifndef __TALLYROOK_STDIO_FIXUPS
#define __TALLYROOK_STDIO_FIXUPS
#ifdef __cplusplus
extern "C" {
#endif
_ACRTIMP int __cdecl __stdio_common_vsnprintf_s(unsigned __int64, char*, size_t, size_t,
                                                const char*, _locale_t, va_list);
static __inline int __cdecl vsnprintf_s(char* _B, size_t _Bc, size_t _Mc, const char* _Fmt,
                                        va_list _A) {
  int _R =
      __stdio_common_vsnprintf_s(_CRT_INTERNAL_LOCAL_PRINTF_OPTIONS, _B, _Bc, _Mc, _Fmt, NULL, _A);
  return _R < 0 ? -1 : _R;
}
_ACRTIMP errno_t __cdecl _get_stream_buffer_pointers(FILE*, char***, char***, int**);
static __inline int __cdecl vfscanf(FILE* _F, const char* _Fmt, va_list _A) {
  return __stdio_common_vfscanf(_CRT_INTERNAL_LOCAL_SCANF_OPTIONS, _F, _Fmt, NULL, _A);
}
static __inline int __cdecl vscanf(const char* _Fmt, va_list _A) {
  return vfscanf(stdin, _Fmt, _A);
}
static __inline int __cdecl vsscanf(const char* _B, const char* _Fmt, va_list _A) {
  return __stdio_common_vsscanf(_CRT_INTERNAL_LOCAL_SCANF_OPTIONS, _B, (size_t)-1, _Fmt, NULL, _A);
}
#ifdef __cplusplus
}
#endif
#endif
