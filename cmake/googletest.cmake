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
