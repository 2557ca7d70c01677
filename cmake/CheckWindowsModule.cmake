# Checks a Windows module's tables: run as cmake -DOBJDUMP=... -DMODULE=... -P this file.
# The plugin exports nothing, imports the host (version.dll), and binds its sibling plugins
# only at run time, so it does not import them.
execute_process(COMMAND ${OBJDUMP} -p ${MODULE} OUTPUT_VARIABLE tables RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${OBJDUMP} could not read ${MODULE}")
endif()
if(tables MATCHES "Number in:[ \t\r\n]+Export Address Table[ \t]+([0-9a-fA-F]+)"
   AND NOT CMAKE_MATCH_1 MATCHES "^0+$")
  message(FATAL_ERROR "${MODULE} exports functions")
endif()
if(NOT tables MATCHES "DLL Name: version.dll")
  message(FATAL_ERROR "${MODULE} does not import version.dll")
endif()
if(tables MATCHES "DLL Name: (Skyparley|Permissions).dll")
  message(FATAL_ERROR "${MODULE} imports ${CMAKE_MATCH_1}.dll, which must be bound at run time")
endif()
message(STATUS "${MODULE}: no exports, imports version.dll, no sibling imports")
