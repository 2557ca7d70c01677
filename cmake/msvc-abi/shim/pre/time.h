/* Wrapper: wine's time.h plus UCRT's timespec/timespec_get. */
#include_next <time.h>
#ifndef __TALLYROOK_TIME_FIXUPS
#define __TALLYROOK_TIME_FIXUPS
#define TIME_UTC 1
#ifdef __cplusplus
extern "C" {
#endif
struct _timespec32 {
  __time32_t tv_sec;
  long tv_nsec;
};
struct _timespec64 {
  __time64_t tv_sec;
  long tv_nsec;
};
struct timespec {
  time_t tv_sec;
  long tv_nsec;
};
_ACRTIMP int __cdecl _timespec64_get(struct _timespec64*, int);
static __inline int __cdecl timespec_get(struct timespec* _Ts, int _Base) {
  return _timespec64_get((struct _timespec64*)_Ts, _Base);
}
_ACRTIMP errno_t __cdecl _gmtime64_s(struct tm*, const __time64_t*);
static __inline errno_t __cdecl gmtime_s(struct tm* _Tm, const time_t* _Time) {
  return _gmtime64_s(_Tm, _Time);
}
static __inline errno_t __cdecl localtime_s(struct tm* _Tm, const time_t* _Time) {
  return _localtime64_s(_Tm, _Time);
}
#ifdef __cplusplus
}
#endif
#endif
