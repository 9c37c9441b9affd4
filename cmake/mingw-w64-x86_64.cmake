# Cross build for 64-bit Windows with MinGW-w64 (posix threads), from Linux:
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
# Every program links the MinGW runtime statically, so each .exe imports only
# Windows' own DLLs. Tests run under Wine through ctest.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TAV_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TAV_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TAV_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TAV_MINGW_TRIPLE}-windres)

# Libraries and headers come from the MinGW sysroot only; programs from Linux.
set(CMAKE_FIND_ROOT_PATH /usr/${TAV_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# The header-only libraries and GoogleTest's sources that Debian installs for
# Linux; the project takes them from here in a cross build (see
# cmake/cross_dependencies.cmake).
set(TAV_CROSS_HEADER_ROOT /usr/include CACHE PATH "Where nlohmann/ and CLI/ live")
set(TAV_GOOGLETEST_SOURCES /usr/src/googletest CACHE PATH "GoogleTest's sources")

find_program(TAV_WINE NAMES wine wine64)
if(TAV_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${TAV_WINE})
endif()
