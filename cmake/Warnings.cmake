# One warning set for every target of the project.
add_library(tallyrook_warnings INTERFACE)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  target_compile_options(tallyrook_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wnon-virtual-dtor -Woverloaded-virtual
    -Wcast-qual -Wformat=2 -Wimplicit-fallthrough -Wunused)
  if(TALLYROOK_WARNINGS_AS_ERRORS)
    target_compile_options(tallyrook_warnings INTERFACE -Werror)
  endif()
endif()

# Shared modules must be unloadable so that each load starts from fresh static state.
function(tallyrook_module target)
  set_target_properties(${target} PROPERTIES PREFIX "")
  if(WIN32 AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_link_options(${target} PRIVATE -Wl,--no-undefined)
  endif()
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND NOT WIN32)
    target_compile_options(${target} PRIVATE -fno-gnu-unique)
    target_link_options(${target} PRIVATE -Wl,--no-undefined)
  endif()
endfunction()
