# GoogleTest from Debian's packages: the installed libraries on Linux, the shipped sources
# (package googletest) compiled with the cross compiler for Windows, which define GTest::gtest
# and GTest::gtest_main themselves. A build on Windows itself (MSYS2) finds its installed package.
if(CMAKE_CROSSCOMPILING)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

# GoogleTest's header is about a third of the time each test takes to compile: the unit tests
# precompile it once per build, and every other test reuses theirs, built with the same flags.
function(reuse_googletest_header target)
  target_precompile_headers(${target} REUSE_FROM unit_tests)
endfunction()
