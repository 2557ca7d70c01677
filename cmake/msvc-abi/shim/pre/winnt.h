/* Wrapper: wine's winnt.h defines _InterlockedCompareExchange128 itself for clang, which clang 14
   has as a builtin; rename wine's copy away. */
#define _InterlockedCompareExchange128 __wine_InterlockedCompareExchange128
#include_next <winnt.h>
#undef _InterlockedCompareExchange128
#ifdef InterlockedCompareExchange128
#undef InterlockedCompareExchange128
#define InterlockedCompareExchange128 _InterlockedCompareExchange128
#endif
