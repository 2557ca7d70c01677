/* Wrapper: wine's crtdbg.h plus the UCRT release-mode macros it lacks. */
#include_next <crtdbg.h>
#ifndef __TALLYROOK_CRTDBG_FIXUPS
#define __TALLYROOK_CRTDBG_FIXUPS
#ifndef _CRTDBG_FILE_STDOUT
#define _CRTDBG_FILE_STDOUT ((void*)-4)
#define _CRTDBG_FILE_STDERR ((void*)-5)
#define _CRTDBG_REPORT_FILE ((void*)-6)
#endif
#if !defined(_DEBUG) && !defined(_CrtSetReportFile)
#define _CrtSetReportFile(t, f) ((void*)0)
#endif
#endif
