/* Wrapper: wine's windef.h defines the keyword inline as __inline whenever _MSC_VER is set, which
   the MSVC STL rejects (xkeycheck.h) in any C++ TU that includes <windows.h> before an STL header.
 */
#include_next <windef.h>
#if defined(__cplusplus) && defined(inline)
#undef inline
#endif
