# Warning flags for our own targets only: every target of ours links tunemood_warnings PRIVATE,
# so third-party code (GoogleTest) keeps its own flags.
option(TUNEMOOD_WARNINGS_AS_ERRORS "Treat compiler warnings as errors" OFF)

add_library(tunemood_warnings INTERFACE)
target_compile_options(tunemood_warnings INTERFACE
  -Wall                 # the compiler's common warnings
  -Wextra               # and the next set: unused parameters, signed against unsigned
  -Wpedantic            # standard C++ only: the other compiler and the analysers read it too
  -Wshadow              # a local hiding a member or global is a bug waiting to happen
  -Wconversion          # handles, lengths and Win32 integer types meet here
  -Wsign-conversion     # a negative count turned into a huge size
  -Wnon-virtual-dtor    # ports are deleted through their interfaces
  -Wold-style-cast      # each cast says which kind it is, so the dangerous ones stand out
  -Woverloaded-virtual  # an overload that hides a port's method instead of overriding it
  -Wcast-align          # pointer casts over the bytes of messages and resources
  -Wnull-dereference    # paths the optimiser proves dereference null
  -Wdouble-promotion    # float silently widened in the geometry
  -Wformat=2            # printf formats that do not match or are not literals
  -Wimplicit-fallthrough # a message handler's case that runs into the next
  # The presets turn it on: a warning fails the build instead of scrolling past.
  $<$<BOOL:${TUNEMOOD_WARNINGS_AS_ERRORS}>:-Werror>)
