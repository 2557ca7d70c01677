# Checks the package an admin unpacks: run as cmake -DZIP=... -DMODULE=Tallyrook.dll
# -DSOURCE=<project> "-DDEVSERVER=<emulator;devserver>" -DWORK=<folder> -P this file. The zip holds
# exactly the plugin's folder, its files the very ones the build and the repository give, and its
# starter config passes the admin's strict check.
cmake_policy(SET CMP0057 NEW)  # IN_LIST
set(folder ArkApi/Plugins/Tallyrook)
set(expected ${folder}/Tallyrook.dll ${folder}/PluginInfo.json ${folder}/config.example.json
             ${folder}/licenses/LICENSE.txt ${folder}/licenses/THIRD-PARTY-NOTICES.txt
             ${folder}/licenses/MicrosoftSTL-LICENSE.txt ${folder}/licenses/MicrosoftSTL-NOTICE.txt)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf ${ZIP} OUTPUT_VARIABLE listing
                RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot list ${ZIP}")
endif()
string(REGEX MATCHALL "[^\r\n]+" entries "${listing}")
list(FILTER entries EXCLUDE REGEX "/$")  # folders
list(SORT entries)
list(SORT expected)
if(NOT entries STREQUAL expected)
  message(FATAL_ERROR "${ZIP} holds\n  ${entries}\nnot\n  ${expected}")
endif()

string(RANDOM LENGTH 12 run)
set(out ${WORK}/package-check-${run})
file(MAKE_DIRECTORY ${out})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${ZIP} WORKING_DIRECTORY ${out}
                RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot unpack ${ZIP}")
endif()
foreach(pair "Tallyrook.dll=${MODULE}" "PluginInfo.json=${SOURCE}/packaging/PluginInfo.json"
             "config.example.json=${SOURCE}/packaging/config.example.json"
             "licenses/LICENSE.txt=${SOURCE}/LICENSE")
  string(REGEX MATCH "^([^=]+)=(.*)$" ignored "${pair}")
  file(SHA256 ${out}/${folder}/${CMAKE_MATCH_1} packed)
  file(SHA256 ${CMAKE_MATCH_2} original)
  if(NOT packed STREQUAL original)
    message(FATAL_ERROR "${CMAKE_MATCH_1} in ${ZIP} is not ${CMAKE_MATCH_2}")
  endif()
endforeach()

file(READ ${out}/${folder}/PluginInfo.json info)
string(JSON count LENGTH "${info}" Dependencies)
set(dependencies "")
math(EXPR last "${count} - 1")
foreach(i RANGE ${last})
  string(JSON dependency GET "${info}" Dependencies ${i})
  list(APPEND dependencies ${dependency})
endforeach()
foreach(sibling Permissions Skyparley)
  if(NOT sibling IN_LIST dependencies)
    message(FATAL_ERROR "PluginInfo.json does not name ${sibling} among its Dependencies")
  endif()
endforeach()

execute_process(COMMAND ${DEVSERVER} check --strict ${out}/${folder}/config.example.json
                RESULT_VARIABLE check_failed OUTPUT_VARIABLE check_output ERROR_VARIABLE check_output)
file(REMOVE_RECURSE ${out})
if(check_failed)
  message(FATAL_ERROR "check --strict config.example.json: ${check_failed}\n${check_output}")
endif()
message(STATUS "${ZIP}: the plugin folder, its files as built, config.example.json passes check --strict")
