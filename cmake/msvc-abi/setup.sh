#!/bin/sh
# Generates what the MSVC-ABI lane builds with, into OUT (a folder of the build tree): import
# libraries from wine's builtin PE DLLs, the header shims made from wine's CRT headers and the
# STL, the stand-in for MSVC's static CRT objects, and the static part of the STL's import
# library. Usage: setup.sh OUT STL (STL: a microsoft/STL checkout, vs-2022-17.4).
set -eu
HERE=$(cd "$(dirname "$0")" && pwd)
OUT=$1
[ -f "$2/stl/inc/yvals_core.h" ] || {
  echo "no Microsoft STL at $2 (want stl/inc/yvals_core.h); set TALLYROOK_MSVC_STL" >&2; exit 1; }
STL=$(cd "$2" && pwd)/stl
WINE_DLLS=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
WINE_INC=/usr/include/wine/wine
mkdir -p "$OUT/lib" "$OUT/shim" "$OUT/obj"

# Import libraries (MSVC short-import format) from the export tables of wine's DLLs.
for dll in ucrtbase vcruntime140 msvcp140 kernel32 user32 advapi32 ws2_32 shell32 dbghelp; do
  { echo "LIBRARY $dll.dll"; echo "EXPORTS"
    llvm-readobj --coff-exports "$WINE_DLLS/$dll.dll" | awk '/Name:/ && $2 != "" {print "  " $2}'; } \
    > "$OUT/lib/$dll.def"
  llvm-dlltool -m i386:x86-64 -d "$OUT/lib/$dll.def" -l "$OUT/lib/$dll.lib"
done
awk '/^  /{print $1}' "$OUT/lib/ucrtbase.def" > "$OUT/lib/ucrtbase-exports.txt"

# The UCRT's mbstate_t is the 8-byte _Mbstatet; wine's header has int, which would change the
# layout of std::fpos. Plus the UCRT declarations wine's wchar.h lacks.
sed 's/^typedef int mbstate_t;/#ifndef _MBSTATET_DEFINED\n#define _MBSTATET_DEFINED\ntypedef struct _Mbstatet { unsigned long _Wchar; unsigned short _Byte, _State; } _Mbstatet;\n#endif\ntypedef _Mbstatet mbstate_t;/' \
  "$WINE_INC/msvcrt/wchar.h" > "$OUT/shim/wchar.h"
grep -q '_Mbstatet mbstate_t' "$OUT/shim/wchar.h"
cat "$HERE/wchar-additions.h" >> "$OUT/shim/wchar.h"
python3 "$HERE/gen-sal.py" "$STL/inc" "$OUT/shim"
python3 "$HERE/gen-math.py" "$OUT/lib/ucrtbase-exports.txt" "$OUT/shim"

FLAGS="--target=x86_64-pc-windows-msvc -fms-compatibility-version=19.34 -std=c++17 -fexceptions
 -fcxx-exceptions -nostdlibinc -isystem $OUT/shim -isystem $HERE/shim/pre -isystem $STL/inc
 -idirafter $HERE/shim/post -idirafter $WINE_INC/msvcrt -idirafter $WINE_INC/windows -D_DLL -D_MT
 -D_CRT_SECURE_NO_WARNINGS -DWINE_UNICODE_NATIVE -DUSE_COMPILER_EXCEPTIONS
 -D_USE_STD_VECTOR_ALGORITHMS=0 -O2 -Wno-unused-command-line-argument"

# The stand-in for the static CRT objects: entry points of programs and DLLs, and the rest.
clang++-14 $FLAGS -c "$HERE/crt/crtshim.cpp" -o "$OUT/obj/crtshim.obj"
clang++-14 $FLAGS -c "$HERE/crt/crtentry.cpp" -o "$OUT/obj/crtentry_exe.obj"
clang++-14 $FLAGS -DCRTSHIM_DLL -c "$HERE/crt/crtentry.cpp" -o "$OUT/obj/crtentry_dll.obj"
rm -f "$OUT/lib/msvcrt_shim.lib"
llvm-lib "/out:$OUT/lib/msvcrt_shim.lib" "$OUT/obj/crtshim.obj" "$OUT/obj/crtentry_exe.obj" \
  "$OUT/obj/crtentry_dll.obj"

# The static part of msvcprt.lib, from the STL's own sources (its IMPLIB_SOURCES, but for
# stacktrace, which needs DbgEng.h, and vector_algorithms, AVX code clang 14 rejects).
objects=""
for f in asan_noop charconv filesystem format locale0_implib nothrow sharedmutex \
         syserror_import_lib xcharconv_ryu_tables xcharconv_tables_double xcharconv_tables_float xonce2; do
  prelude=""
  [ "$f" = filesystem ] && prelude="-include $HERE/shim/fs_prelude.h"
  clang++-14 $FLAGS $prelude -std=c++2b -D_CRTBLD -D_VCRT_WIN32_WINNT=0x0A00 -D_STL_WIN32_WINNT=0x0A00 \
    -Wno-everything -I "$HERE/shim/case" -include windows.h -I "$STL/src" -c "$STL/src/$f.cpp" \
    -o "$OUT/obj/$f.obj"
  objects="$objects $OUT/obj/$f.obj"
done
rm -f "$OUT/lib/msvcprt_static.lib"
llvm-lib "/out:$OUT/lib/msvcprt_static.lib" $objects
touch "$OUT/ready"
