# The MSVC-ABI lane: clang 14 targeting x86_64-pc-windows-msvc with the Microsoft STL, wine's
# UCRT headers and this folder's shims, lld-link, and import libraries of wine's builtin DLLs,
# so that the modules share the C++ ABI of the real host's MSVC build; the tests run under wine.
# setup.sh generates its pieces into the build folder at the first configure.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(CMAKE_C_COMPILER clang-14)
set(CMAKE_CXX_COMPILER clang++-14)
set(CMAKE_C_COMPILER_TARGET x86_64-pc-windows-msvc)
set(CMAKE_CXX_COMPILER_TARGET x86_64-pc-windows-msvc)
set(CMAKE_LINKER lld-link)
set(CMAKE_AR llvm-ar)
set(CMAKE_RC_COMPILER llvm-rc)
set(CMAKE_MT llvm-mt)
set(TALLYROOK_MSVC_ABI ON)

get_filename_component(tallyrook_project ${CMAKE_CURRENT_LIST_DIR}/../.. ABSOLUTE)
# The Microsoft STL and the host's SDK come from the shared folder beside the checkout; a clone
# made elsewhere (a clean clone for CI, say) finds it beside the repository it was cloned from.
set(shared_default ${tallyrook_project}/../shared)
if(NOT EXISTS ${shared_default})
  execute_process(COMMAND git -C ${tallyrook_project} config --get remote.origin.url
                  OUTPUT_VARIABLE origin OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(IS_DIRECTORY "${origin}" AND EXISTS "${origin}/../shared")
    get_filename_component(shared_default ${origin}/../shared ABSOLUTE)
  endif()
endif()
set(TALLYROOK_MSVC_STL ${shared_default}/msvc-abi/stl CACHE PATH
    "The Microsoft STL: a microsoft/STL checkout at tag vs-2022-17.4")
set(TALLYROOK_HOST_SDK ${shared_default}/host-sdk CACHE PATH
    "The host's files: its import library ArkApi.lib, Permissions.lib, and include/ with its spdlog")
set(TALLYROOK_MSVC_ABI_DIR ${CMAKE_BINARY_DIR}/msvc-abi CACHE PATH
    "Where the lane's generated import libraries, shims and CRT stand-in go")
# try_compile projects load this file again in folders of their own: they use the same pieces.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TALLYROOK_MSVC_STL TALLYROOK_HOST_SDK
     TALLYROOK_MSVC_ABI_DIR)
if(NOT EXISTS ${TALLYROOK_MSVC_ABI_DIR}/ready)
  message(STATUS "Generating the MSVC-ABI toolchain pieces in ${TALLYROOK_MSVC_ABI_DIR}")
  execute_process(COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/setup.sh ${TALLYROOK_MSVC_ABI_DIR}
                          ${TALLYROOK_MSVC_STL}
                  RESULT_VARIABLE setup_failed)
  if(setup_failed)
    message(FATAL_ERROR "cmake/msvc-abi/setup.sh failed")
  endif()
endif()

set(out ${TALLYROOK_MSVC_ABI_DIR})
set(shims ${CMAKE_CURRENT_LIST_DIR}/shim)
set(wine_include /usr/include/wine/wine)
set(msvc_flags "-fms-compatibility-version=19.34 -fexceptions -fcxx-exceptions -nostdlibinc \
-isystem ${out}/shim -isystem ${shims}/pre -isystem ${TALLYROOK_MSVC_STL}/stl/inc \
-idirafter ${shims}/post -idirafter ${wine_include}/msvcrt -idirafter ${wine_include}/windows \
-D_DLL -D_MT -D_CRT_SECURE_NO_WARNINGS -DWINE_UNICODE_NATIVE -DUSE_COMPILER_EXCEPTIONS \
-D_USE_STD_VECTOR_ALGORITHMS=0 -Wno-unused-command-line-argument")
set(CMAKE_C_FLAGS_INIT "${msvc_flags}")
set(CMAKE_CXX_FLAGS_INIT "${msvc_flags}")
set(msvc_link "-fuse-ld=lld -nostdlib -Wl,/nodefaultlib")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${msvc_link}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${msvc_link}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${msvc_link}")
# vcruntime140 before ucrtbase: wine's ucrtbase also exports the exception handlers.
set(msvc_libs "${out}/lib/msvcrt_shim.lib ${out}/lib/msvcprt_static.lib \
${out}/lib/vcruntime140.lib ${out}/lib/ucrtbase.lib ${out}/lib/msvcp140.lib \
${out}/lib/kernel32.lib ${out}/lib/user32.lib ${out}/lib/advapi32.lib ${out}/lib/ws2_32.lib \
${out}/lib/shell32.lib ${out}/lib/dbghelp.lib")
set(CMAKE_C_STANDARD_LIBRARIES "${msvc_libs}" CACHE STRING "" FORCE)
set(CMAKE_CXX_STANDARD_LIBRARIES "${msvc_libs}" CACHE STRING "" FORCE)

# Dependencies come from the Debian packages' headers and the host's SDK,
# never from the build machine's libraries.
set(CMAKE_FIND_ROOT_PATH /nonexistent)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
