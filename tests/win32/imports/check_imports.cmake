# Fails when the program imports a DLL that Windows does not always take from its own folder
# (its known DLLs): any other would be looked for beside the program first.
# cmake -DOBJDUMP=... -DPROGRAM=... -P check_imports.cmake
cmake_minimum_required(VERSION 3.25)

set(known advapi32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll user32.dll)
execute_process(COMMAND ${OBJDUMP} -p ${PROGRAM} OUTPUT_VARIABLE dump RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cannot read the imports of ${PROGRAM}")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
if(NOT imports)
  message(FATAL_ERROR "no imports found in ${PROGRAM}")
endif()
foreach(line IN LISTS imports)
  string(REPLACE "DLL Name: " "" dll "${line}")
  string(STRIP "${dll}" dll)
  string(TOLOWER "${dll}" dll)
  if(NOT dll IN_LIST known)
    message(FATAL_ERROR "${PROGRAM} imports ${dll}, which Windows would look for beside it")
  endif()
  message(STATUS "imports ${dll}")
endforeach()
