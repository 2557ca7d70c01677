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

# A module of the emulated server or the plugin: named as on Windows, with every symbol resolved
# at link time. With clang no such check: its sanitizer runtimes live in the program.
function(tallyrook_module target)
  set_target_properties(${target} PROPERTIES PREFIX "")
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_link_options(${target} PRIVATE -Wl,--no-undefined)
    if(NOT WIN32)
      # Unique symbols would keep a module loaded after it is freed, and its state with it.
      target_compile_options(${target} PRIVATE -fno-gnu-unique)
    endif()
  endif()
endfunction()
