/* Wrapper: wine's corecrt.h plus UCRT's _Mbstatet. */
#include_next <corecrt.h>
#ifndef _MBSTATET_DEFINED
#define _MBSTATET_DEFINED
typedef struct _Mbstatet {
  unsigned long _Wchar;
  unsigned short _Byte, _State;
} _Mbstatet;
#endif
