# Tests of the Windows build: Windows executables that CTest runs under Wine (the toolchain's
# emulator). The caller provides the Wine prefix and the display (see scripts/test); tests share
# one desktop, so they run one at a time.
function(add_wine_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE wine_harness wine_test_main tunemood_windows
    tunemood_warnings)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES LABELS wine RUN_SERIAL TRUE TIMEOUT 300)
endfunction()
