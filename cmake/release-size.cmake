# Release builds of the Windows programs: optimised for size, unused functions and data dropped
# at link time, symbols stripped. The warning flags stay as they are (warnings.cmake).
if(WIN32)
  set(size_flags "-Os -DNDEBUG -ffunction-sections -fdata-sections")
  set(CMAKE_C_FLAGS_RELEASE "${size_flags}")
  set(CMAKE_CXX_FLAGS_RELEASE "${size_flags}")
  foreach(kind EXE SHARED MODULE)
    set(CMAKE_${kind}_LINKER_FLAGS_RELEASE "-Wl,--gc-sections -s")
  endforeach()
endif()
