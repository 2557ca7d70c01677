/* Prelude for building the STL's filesystem.cpp: Windows 10 SDK definitions wine 8's headers lack,
   and the one helper of vcruntime's internal_shared.h it uses. */
#pragma once
#include <windows.h>
#include <winternl.h>
#ifdef __cplusplus
#include <memory>

#include <stdlib.h>
#define SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE 0x2
typedef struct _FILE_ID_INFO {
  ULONGLONG VolumeSerialNumber;
  FILE_ID_128 FileId;
} FILE_ID_INFO, *PFILE_ID_INFO;
typedef struct _FILE_DISPOSITION_INFO_EX {
  DWORD Flags;
} FILE_DISPOSITION_INFO_EX, *PFILE_DISPOSITION_INFO_EX;
#define FILE_DISPOSITION_FLAG_DO_NOT_DELETE 0x00000000
#define FILE_DISPOSITION_FLAG_DELETE 0x00000001
#define FILE_DISPOSITION_FLAG_POSIX_SEMANTICS 0x00000002
#define FILE_DISPOSITION_FLAG_FORCE_IMAGE_SECTION_CHECK 0x00000004
#define FILE_DISPOSITION_FLAG_ON_CLOSE 0x00000008
#define FILE_DISPOSITION_FLAG_IGNORE_READONLY_ATTRIBUTE 0x00000010
extern "C" WINBASEAPI DWORD WINAPI GetTempPath2W(DWORD, LPWSTR);
extern "C" __declspec(dllimport) unsigned int __cdecl ___lc_codepage_func(void);
struct __crt_free_deleter {
  void operator()(void* p) const noexcept { free(p); }
};
template <class _Ty>
using __crt_unique_heap_ptr = std::unique_ptr<_Ty, __crt_free_deleter>;
#define _malloc_crt_t(t, n) (__crt_unique_heap_ptr<t>(static_cast<t*>(malloc(sizeof(t) * (n)))))
#endif
