# Shared part of the two MinGW toolchain files; LUMENTA_TRIPLE is set by the includer.
set(CMAKE_C_COMPILER ${LUMENTA_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LUMENTA_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${LUMENTA_TRIPLE}-windres)
set(CMAKE_ASM_NASM_COMPILER nasm)

# The cross-built libpng and libjpeg-turbo live in a cache outside the source tree
# (scripts/build-deps); the MinGW zlib comes from Debian's libz-mingw-w64-dev.
if(NOT DEFINED LUMENTA_DEPS_CACHE)
  if(DEFINED ENV{LUMENTA_DEPS_CACHE})
    set(LUMENTA_DEPS_CACHE $ENV{LUMENTA_DEPS_CACHE})
  else()
    set(LUMENTA_DEPS_CACHE $ENV{HOME}/.cache/lumenta-deps)
  endif()
endif()
set(CMAKE_FIND_ROOT_PATH /usr/${LUMENTA_TRIPLE} ${LUMENTA_DEPS_CACHE}/${LUMENTA_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Static archives only: the program must not need any MinGW DLL beside it.
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)
# "libz.dll.a" ends in ".a" too: name the static archive itself, or zlib1.dll would be needed.
set(ZLIB_LIBRARY /usr/${LUMENTA_TRIPLE}/lib/libz.a CACHE FILEPATH "static MinGW zlib")
set(ZLIB_INCLUDE_DIR /usr/${LUMENTA_TRIPLE}/include CACHE PATH "MinGW zlib headers")
