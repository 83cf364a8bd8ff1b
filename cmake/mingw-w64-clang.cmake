# Cross-compiling for Windows with clang against Debian's MinGW-w64 headers and libraries (the
# posix flavour's C++ library, as the GCC build uses) and lld. The toolchain file sets the
# processor.
set(CMAKE_SYSTEM_NAME Windows)

set(triple ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${triple})
set(CMAKE_CXX_COMPILER_TARGET ${triple})
set(CMAKE_RC_COMPILER ${triple}-windres)

# clang finds the MinGW-w64 headers but not GCC's C++ library beside them: name it.
file(GLOB gcc_dirs /usr/lib/gcc/${triple}/*-posix)
list(GET gcc_dirs -1 gcc_dir)
set(cxx_include ${gcc_dir}/include/c++)
string(JOIN " " CMAKE_CXX_FLAGS_INIT -nostdinc++ -isystem ${cxx_include}
  -isystem ${cxx_include}/${triple} -isystem ${cxx_include}/backward)
# libgcc's thread-local storage needs winpthread in a static link; lld resolves archives in any
# order, so it may stand first. The compile flags reach the link too, where -nostdinc++ means
# nothing.
set(link_flags "-fuse-ld=lld -L${gcc_dir} -lwinpthread -Wno-unused-command-line-argument")
set(CMAKE_EXE_LINKER_FLAGS_INIT ${link_flags})
set(CMAKE_SHARED_LINKER_FLAGS_INIT ${link_flags})
set(CMAKE_MODULE_LINKER_FLAGS_INIT ${link_flags})

set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR wine)
