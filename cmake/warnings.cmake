# Warning flags for our own targets only: every target of ours links tunemood_warnings PRIVATE,
# so third-party code (GoogleTest) keeps its own flags.
option(TUNEMOOD_WARNINGS_AS_ERRORS "Treat compiler warnings as errors" OFF)

add_library(tunemood_warnings INTERFACE)
target_compile_options(tunemood_warnings INTERFACE
  -Wall
  -Wextra
  -Wpedantic
  -Wshadow              # a local hiding a member or global is a bug waiting to happen
  -Wconversion          # handles, lengths and Win32 integer types meet here
  -Wsign-conversion
  -Wnon-virtual-dtor    # ports are deleted through their interfaces
  -Wold-style-cast
  -Woverloaded-virtual
  -Wcast-align
  -Wnull-dereference
  -Wdouble-promotion
  -Wformat=2
  -Wimplicit-fallthrough
  $<$<BOOL:${TUNEMOOD_WARNINGS_AS_ERRORS}>:-Werror>)
