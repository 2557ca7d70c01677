/* Shim for eh.h (wine's lacks the vcruntime declarations the STL uses). */
#pragma once
#include <corecrt.h>
#ifdef __cplusplus
extern "C++" {
typedef void(__cdecl* terminate_handler)(void);
typedef void(__cdecl* terminate_function)(void);
typedef void(__cdecl* unexpected_handler)(void);
typedef void(__cdecl* unexpected_function)(void);
struct _EXCEPTION_POINTERS;
typedef void(__cdecl* _se_translator_function)(unsigned int, struct _EXCEPTION_POINTERS*);

[[noreturn]] __declspec(dllimport) void __cdecl unexpected() noexcept(false);
__declspec(dllimport) _se_translator_function __cdecl _set_se_translator(_se_translator_function);
}
extern "C" {
[[noreturn]] __declspec(dllimport) void __cdecl terminate() noexcept;
__declspec(dllimport) terminate_handler __cdecl set_terminate(terminate_handler) noexcept;
__declspec(dllimport) terminate_handler __cdecl _get_terminate(void);
__declspec(dllimport) unexpected_handler __cdecl set_unexpected(unexpected_handler) noexcept;
__declspec(dllimport) unexpected_handler __cdecl _get_unexpected(void);
__declspec(dllimport) bool __cdecl __uncaught_exception(void);
__declspec(dllimport) int __cdecl __uncaught_exceptions(void);
}
#endif
