// Stand-in for the static part of MSVC's CRT (msvcrt.lib / vcruntime.lib / ucrt.lib static
// objects): entry points, initializer tables, atexit, operator new/delete, type_info's vtable, TLS
// directory, thread-safe statics, __chkstk, the security cookie and _fltused. Built once for EXEs,
// once (-DCRTSHIM_DLL) for DLLs.
#include <stddef.h>
#include <stdlib.h>

#include <malloc.h>
#include <new>
#include <typeinfo>

#include "ucrt_startup.h"

extern "C" {
__declspec(dllimport) int __cdecl _crt_atexit(_PVFV);
__declspec(dllimport) int __cdecl _register_onexit_function(_onexit_table_t*, _PVFV);
__declspec(dllimport) int __cdecl _callnewh(size_t);
__declspec(dllimport) void* __stdcall GetCurrentProcess(void);
__declspec(dllimport) int __stdcall TerminateProcess(void*, unsigned);

// Initializer tables. lld-link sorts the .CRT$X?? sections by name.
#pragma section(".CRT$XIA", long, read)
#pragma section(".CRT$XIZ", long, read)
#pragma section(".CRT$XCA", long, read)
#pragma section(".CRT$XCZ", long, read)
#pragma section(".CRT$XLA", long, read)
#pragma section(".CRT$XLZ", long, read)
__declspec(allocate(".CRT$XIA")) _PIFV __xi_a[] = {nullptr};
__declspec(allocate(".CRT$XIZ")) _PIFV __xi_z[] = {nullptr};
__declspec(allocate(".CRT$XCA")) _PVFV __xc_a[] = {nullptr};
__declspec(allocate(".CRT$XCZ")) _PVFV __xc_z[] = {nullptr};
__declspec(allocate(".CRT$XLA")) void* __xl_a = nullptr;
__declspec(allocate(".CRT$XLZ")) void* __xl_z = nullptr;

// Static TLS: the directory the loader reads (lld-link points the PE's TLS entry at _tls_used).
#pragma section(".tls", long, read, write)
#pragma section(".tls$ZZZ", long, read, write)
__declspec(allocate(".tls")) char _tls_start = 0;
__declspec(allocate(".tls$ZZZ")) char _tls_end = 0;
unsigned long _tls_index = 0;
struct TlsDirectory64 {
  unsigned long long start, end, index, callbacks;
  unsigned size_of_zero_fill, characteristics;
};
extern const TlsDirectory64 _tls_used = {(unsigned long long)&_tls_start,
                                         (unsigned long long)&_tls_end,
                                         (unsigned long long)&_tls_index,
                                         (unsigned long long)(&__xl_a + 1),
                                         0,
                                         0};

// Dynamic initialization and destruction of thread_local variables (MSVC's tlsdyn/tlsdtor): clang
// 14 calls
// __dyn_tls_on_demand_init when the thread's __tls_guard is clear; initializers live in
// .CRT$XDA..XDZ.
#pragma section(".CRT$XDA", long, read)
#pragma section(".CRT$XDZ", long, read)
#pragma section(".CRT$XLC", long, read)
#pragma section(".CRT$XLD", long, read)
__declspec(allocate(".CRT$XDA")) _PVFV __xd_a = nullptr;
__declspec(allocate(".CRT$XDZ")) _PVFV __xd_z = nullptr;
__declspec(thread) bool __tls_guard = false;
void __cdecl __dyn_tls_on_demand_init(void) {
  if (__tls_guard) return;
  __tls_guard = true;
  for (_PVFV* p = &__xd_a + 1; p != &__xd_z; ++p)
    if (*p) (*p)();
}
static __declspec(thread) _PVFV tls_dtors[256];
static __declspec(thread) int tls_dtor_count = 0;
int __cdecl __tlregdtor(_PVFV f) {
  if (tls_dtor_count == 256)
    TerminateProcess(GetCurrentProcess(), 0xC0000409);  // this stand-in's limit
  tls_dtors[tls_dtor_count++] = f;
  return 0;
}
void __stdcall __dyn_tls_init(void*, unsigned long reason, void*) {
  if (reason == 2 /* DLL_THREAD_ATTACH */) __dyn_tls_on_demand_init();
}
static void __stdcall __dyn_tls_dtor(void*, unsigned long reason, void*) {
  if (reason != 3 /* DLL_THREAD_DETACH */ && reason != 0 /* DLL_PROCESS_DETACH */) return;
  while (tls_dtor_count > 0) tls_dtors[--tls_dtor_count]();
}
__declspec(allocate(".CRT$XLC")) void(__stdcall* __xl_c)(void*, unsigned long,
                                                         void*) = __dyn_tls_init;
__declspec(allocate(".CRT$XLD")) void(__stdcall* __xl_d)(void*, unsigned long,
                                                         void*) = __dyn_tls_dtor;

int _fltused = 0x9875;
unsigned long long __security_cookie = 0x2B992DDFA232ull;
void __cdecl __security_init_cookie(void) {}
void __cdecl __security_check_cookie(unsigned long long c) {
  if (c != __security_cookie) TerminateProcess(GetCurrentProcess(), 0xC0000409);
}

// __chkstk: probe the stack page by page down to rsp - rax (rax, r10, r11 preserved as MSVC's
// does).
__asm__(
    ".globl __chkstk\n__chkstk:\n"
    "  subq $16, %rsp\n  movq %r10, (%rsp)\n  movq %r11, 8(%rsp)\n"
    "  xorq %r11, %r11\n  leaq 24(%rsp), %r10\n  subq %rax, %r10\n  cmovbq %r11, %r10\n"
    "  movq %gs:16, %r11\n  cmpq %r11, %r10\n  jae 2f\n  andw $0xF000, %r10w\n"
    "1:\n  leaq -4096(%r11), %r11\n  movb $0, (%r11)\n  cmpq %r11, %r10\n  jne 1b\n"
    "2:\n  movq (%rsp), %r10\n  movq 8(%rsp), %r11\n  addq $16, %rsp\n  ret\n");

// Thread-safe local statics, as MSVC's ABI has clang call them.
__declspec(dllimport) void __stdcall AcquireSRWLockExclusive(void**);
__declspec(dllimport) void __stdcall ReleaseSRWLockExclusive(void**);
__declspec(dllimport) int __stdcall SleepConditionVariableSRW(void**, void**, unsigned long,
                                                              unsigned long);
__declspec(dllimport) void __stdcall WakeAllConditionVariable(void**);
static void* init_lock = nullptr;
static void* init_cv = nullptr;
int _Init_global_epoch = (-2147483647 - 1);
__declspec(thread) int _Init_thread_epoch = (-2147483647 - 1);
void __cdecl _Init_thread_header(int* const once) {
  AcquireSRWLockExclusive(&init_lock);
  if (*once == 0) {
    *once = -1;
  } else {
    while (*once == -1) SleepConditionVariableSRW(&init_cv, &init_lock, 0xFFFFFFFF, 0);
    _Init_thread_epoch = _Init_global_epoch;
  }
  ReleaseSRWLockExclusive(&init_lock);
}
void __cdecl _Init_thread_footer(int* const once) {
  AcquireSRWLockExclusive(&init_lock);
  ++_Init_global_epoch;
  *once = _Init_global_epoch;
  _Init_thread_epoch = _Init_global_epoch;
  ReleaseSRWLockExclusive(&init_lock);
  WakeAllConditionVariable(&init_cv);
}
void __cdecl _Init_thread_abort(int* const once) {
  AcquireSRWLockExclusive(&init_lock);
  *once = 0;
  ReleaseSRWLockExclusive(&init_lock);
  WakeAllConditionVariable(&init_cv);
}

_onexit_table_t* __crtshim_module_atexit = nullptr;  // set by the DLL entry point (crtentry_dll)
int __cdecl atexit(_PVFV f) {
  return __crtshim_module_atexit ? _register_onexit_function(__crtshim_module_atexit, f)
                                 : _crt_atexit(f);
}
}  // extern "C"

struct __type_info_node {
  alignas(16) void* head[2];
};
__type_info_node __type_info_root_node;
type_info::~type_info() noexcept {}
// type_info's vftable: no TU ever constructs a type_info, so no compiler emits it; one slot, the
// deleting destructor.
extern "C" void* __crtshim_type_info_deleting_dtor(type_info* p, unsigned flags) {
  p->~type_info();
  if (flags & 1) ::operator delete(p);
  return p;
}
__asm__(
    ".section .rdata,\"dr\"\n.p2align 3\n.globl \"??_7type_info@@6B@\"\n\"??_7type_info@@6B@\":\n"
    "  .quad __crtshim_type_info_deleting_dtor\n.text\n");

// operator new/delete, as vcruntime's static new_*.cpp do.
void* __cdecl operator new(size_t size) {
  for (;;) {
    if (void* p = malloc(size ? size : 1)) return p;
    if (_callnewh(size) == 0) {
      if (size == static_cast<size_t>(-1)) throw std::bad_array_new_length{};
      throw std::bad_alloc{};
    }
  }
}
void* __cdecl operator new(size_t size, const std::nothrow_t&) noexcept {
  try {
    return operator new(size);
  } catch (...) {
    return nullptr;
  }
}
void* __cdecl operator new[](size_t size) {
  return operator new(size);
}
void* __cdecl operator new[](size_t size, const std::nothrow_t& t) noexcept {
  return operator new(size, t);
}
void __cdecl operator delete(void* p) noexcept {
  free(p);
}
void __cdecl operator delete(void* p, const std::nothrow_t&) noexcept {
  free(p);
}
void __cdecl operator delete[](void* p) noexcept {
  free(p);
}
void __cdecl operator delete[](void* p, const std::nothrow_t&) noexcept {
  free(p);
}
void __cdecl operator delete(void* p, size_t) noexcept {
  free(p);
}
void __cdecl operator delete[](void* p, size_t) noexcept {
  free(p);
}
void* __cdecl operator new(size_t size, std::align_val_t al) {
  for (;;) {
    if (void* p = _aligned_malloc(size ? size : 1, static_cast<size_t>(al))) return p;
    if (_callnewh(size) == 0) throw std::bad_alloc{};
  }
}
void* __cdecl operator new(size_t size, std::align_val_t al, const std::nothrow_t&) noexcept {
  try {
    return operator new(size, al);
  } catch (...) {
    return nullptr;
  }
}
void* __cdecl operator new[](size_t size, std::align_val_t al) {
  return operator new(size, al);
}
void* __cdecl operator new[](size_t size, std::align_val_t al, const std::nothrow_t& t) noexcept {
  return operator new(size, al, t);
}
void __cdecl operator delete(void* p, std::align_val_t) noexcept {
  _aligned_free(p);
}
void __cdecl operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept {
  _aligned_free(p);
}
void __cdecl operator delete[](void* p, std::align_val_t) noexcept {
  _aligned_free(p);
}
void __cdecl operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept {
  _aligned_free(p);
}
void __cdecl operator delete(void* p, size_t, std::align_val_t) noexcept {
  _aligned_free(p);
}
void __cdecl operator delete[](void* p, size_t, std::align_val_t) noexcept {
  _aligned_free(p);
}
