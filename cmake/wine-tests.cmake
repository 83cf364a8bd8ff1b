# Tests of the Windows build: Windows executables that CTest runs under Wine (the toolchain's
# emulator). The caller provides the Wine prefix and the display (see scripts/test); tests share
# one desktop, so they run one at a time.
function(add_wine_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE wine_harness wine_test_main tunemood_windows
    tunemood_warnings)
  reuse_googletest_header(${name})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES LABELS wine RUN_SERIAL TRUE TIMEOUT 300)
endfunction()

# A probe: a DLL that a WH_GETMESSAGE hook loads into the program, to look from inside its
# process. Test-only, never shipped; undecorated export names in both bitnesses.
function(add_probe_dll name source)
  add_library(${name} MODULE ${source})
  target_link_libraries(${name} PRIVATE user32 tunemood_windows tunemood_warnings)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src
    ${PROJECT_SOURCE_DIR}/tests/win32/harness)
  target_link_options(${name} PRIVATE -Wl,--kill-at)
  set_target_properties(${name} PROPERTIES PREFIX "")
endfunction()
