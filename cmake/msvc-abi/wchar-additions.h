/* Additions: UCRT declarations wine's wchar.h lacks. */
#ifndef __TALLYROOK_WCHAR_FIXUPS
#define __TALLYROOK_WCHAR_FIXUPS
#include <stdio.h>
#ifdef __cplusplus
extern "C" {
#endif
_ACRTIMP long double __cdecl wcstold(const wchar_t*, wchar_t**);
_ACRTIMP int __cdecl __stdio_common_vfwscanf(unsigned __int64, FILE*, const wchar_t*, _locale_t,
                                             va_list);
_ACRTIMP int __cdecl __stdio_common_vswscanf(unsigned __int64, const wchar_t*, size_t,
                                             const wchar_t*, _locale_t, va_list);
static __inline int __cdecl fwide(FILE* _F, int _Mode) {
  (void)_F;
  return _Mode;
}
static __inline int __cdecl mbsinit(const mbstate_t* _P) {
  return _P == NULL || _P->_Wchar == 0;
}
static __inline int __cdecl vfwscanf(FILE* _F, const wchar_t* _Fmt, va_list _A) {
  return __stdio_common_vfwscanf(_CRT_INTERNAL_LOCAL_SCANF_OPTIONS, _F, _Fmt, NULL, _A);
}
static __inline int __cdecl vwscanf(const wchar_t* _Fmt, va_list _A) {
  return vfwscanf(stdin, _Fmt, _A);
}
static __inline int __cdecl vswscanf(const wchar_t* _B, const wchar_t* _Fmt, va_list _A) {
  return __stdio_common_vswscanf(_CRT_INTERNAL_LOCAL_SCANF_OPTIONS, _B, (size_t)-1, _Fmt, NULL, _A);
}
#ifdef __cplusplus
}
#endif
#endif
