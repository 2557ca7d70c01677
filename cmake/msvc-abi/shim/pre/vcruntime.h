/* Shim for MSVC's vcruntime.h: only what the MSVC STL (vs-2022-17.4) and wine's CRT headers need.
 */
#pragma once
#define _VCRUNTIME_H
#include <sal.h>
#include <vadefs.h>
#pragma pack(push, 8)
#ifdef __cplusplus
#ifndef _HAS_CXX17
#if defined(_MSVC_LANG) && _MSVC_LANG > 201402L
#define _HAS_CXX17 1
#else
#define _HAS_CXX17 0
#endif
#endif
#ifndef _HAS_CXX20
#if _HAS_CXX17 && _MSVC_LANG > 201703L
#define _HAS_CXX20 1
#else
#define _HAS_CXX20 0
#endif
#endif
#ifndef _HAS_CXX23
#if _HAS_CXX20 && _MSVC_LANG > 202002L
#define _HAS_CXX23 1
#else
#define _HAS_CXX23 0
#endif
#endif
#endif
#ifndef _CRT_PACKING
#define _CRT_PACKING 8
#endif
#ifdef __cplusplus
#define _CRT_BEGIN_C_HEADER extern "C" {
#define _CRT_END_C_HEADER }
#else
#define _CRT_BEGIN_C_HEADER
#define _CRT_END_C_HEADER
#endif
#ifndef _VCRTIMP
#define _VCRTIMP __declspec(dllimport)
#endif
#ifndef _CRTIMP
#define _CRTIMP __declspec(dllimport)
#endif
#ifndef _VCRT_NOALIAS
#define _VCRT_NOALIAS __declspec(noalias)
#endif
#ifndef _VCRT_RESTRICT
#define _VCRT_RESTRICT __declspec(restrict)
#endif
#define _VCRT_ALLOCATOR __declspec(allocator)
#define _VCRT_JIT_INTRINSIC
#define _CRT_GUARDOVERFLOW
#define _CRT_HYBRIDPATCHABLE
#define _CRT_STRINGIZE_(x) #x
#define _CRT_STRINGIZE(x) _CRT_STRINGIZE_(x)
#define _CRT_WIDE_(s) L##s
#define _CRT_WIDE(s) _CRT_WIDE_(s)
#define _CRT_CONCATENATE_(a, b) a##b
#define _CRT_CONCATENATE(a, b) _CRT_CONCATENATE_(a, b)
#define _CRT_UNPARENTHESIZE_(...) __VA_ARGS__
#define _CRT_UNPARENTHESIZE(...) _CRT_UNPARENTHESIZE_ __VA_ARGS__
#define _CRT_DEPRECATE_TEXT(_Text) __declspec(deprecated(_Text))
#define _CRT_INSECURE_DEPRECATE(_Replacement)
#define _CRT_INSECURE_DEPRECATE_MEMORY(_Replacement)
#define _CRT_NONSTDC_DEPRECATE(_NewName)
#ifndef _HAS_EXCEPTIONS
#define _HAS_EXCEPTIONS 1
#endif
#ifndef _HAS_NODISCARD
#define _HAS_NODISCARD 1
#endif
#define _NODISCARD [[nodiscard]]
#define _CRT_NODISCARD
#define _UNALIGNED __unaligned
#define __CRTDECL __cdecl
#define _CRT_SECURE_CPP_OVERLOAD_STANDARD_NAMES 0
#ifndef _CRT_FUNCTIONS_REQUIRED
#define _CRT_FUNCTIONS_REQUIRED 1
#endif
#ifndef _CRT_HAS_CXX17
#define _CRT_HAS_CXX17 1
#endif
#ifdef __cplusplus
extern "C++" {
template <typename _CountofType, unsigned long long _SizeOfArray>
char (*__countof_helper(_UNALIGNED _CountofType (&_Array)[_SizeOfArray]))[_SizeOfArray];
#define __crt_countof(_Array) (sizeof(*__countof_helper(_Array)) + 0)
}
#else
#define __crt_countof(_Array) (sizeof(_Array) / sizeof(_Array[0]))
#endif
#ifndef _SIZE_T_DEFINED
#define _SIZE_T_DEFINED
typedef unsigned long long size_t;
#endif
#ifndef _INTPTR_T_DEFINED
#define _INTPTR_T_DEFINED
typedef long long intptr_t;
#endif
#ifndef _UINTPTR_T_DEFINED
#define _UINTPTR_T_DEFINED
typedef unsigned long long uintptr_t;
#endif
#ifndef _PTRDIFF_T_DEFINED
#define _PTRDIFF_T_DEFINED
typedef long long ptrdiff_t;
#endif
#ifndef _WCHAR_T_DEFINED
#define _WCHAR_T_DEFINED
#endif
#ifdef __cplusplus
typedef bool __vcrt_bool;
#else
typedef _Bool __vcrt_bool;
#endif
#define __CLR_OR_THIS_CALL
#define __CLRCALL_OR_CDECL __cdecl
#define __CLRCALL_PURE_OR_CDECL __cdecl
#define __CRTDECL __cdecl
#ifndef _CRTIMP2
#define _CRTIMP2 __declspec(dllimport)
#endif
#ifndef _CRTDATA2
#define _CRTDATA2 __declspec(dllimport)
#endif
#define _VCRT_ALIGN(x) __declspec(align(x))

#ifdef __cplusplus
#define _ADDRESSOF(v) (&const_cast<char&>(reinterpret_cast<const volatile char&>(v)))
#else
#define _ADDRESSOF(v) (&(v))
#endif
#ifdef __cplusplus
extern "C" {
#endif
extern uintptr_t __security_cookie;
void __cdecl __security_init_cookie(void);
void __cdecl __security_check_cookie(uintptr_t _StackCookie);
__declspec(noreturn) void __cdecl __report_gsfailure(uintptr_t _StackCookie);
#ifdef __cplusplus
}
#endif
#pragma pack(pop)
#ifdef __cplusplus
extern "C" __declspec(dllimport) __declspec(
    noreturn) void __cdecl _invalid_parameter_noinfo_noreturn(void);
#else
__declspec(dllimport) __declspec(noreturn) void __cdecl _invalid_parameter_noinfo_noreturn(void);
#endif
#define _CRT_SECURE_INVALID_PARAMETER(expr) _invalid_parameter_noinfo_noreturn()
#if defined(_DLL)
#ifndef _CRT_SATELLITE_1
#define _CRT_SATELLITE_1 __declspec(dllimport)
#endif
#ifndef _CRT_SATELLITE_2
#define _CRT_SATELLITE_2 __declspec(dllimport)
#endif
#else
#define _CRT_SATELLITE_1
#define _CRT_SATELLITE_2
#endif
#define _PGLOBAL
#ifndef _MRTIMP2
#if defined(_DLL)
#define _MRTIMP2 __declspec(dllimport)
#else
#define _MRTIMP2
#endif
#endif
#ifndef _CRT_SATELLITE_CODECVT_IDS
#define _CRT_SATELLITE_CODECVT_IDS __declspec(dllimport)
#endif
#define _CRT_SATELLITE_CODECVT_IDS_NOIMPORT
#ifndef _MSVC_CONSTEXPR
#define _MSVC_CONSTEXPR
#endif
