# Cross-building for 64-bit Windows with Debian's mingw-w64 (the POSIX thread
# model, for std::thread and std::mutex): scripts/package-windows passes this
# file and TAVU_WINDOWS_PREFIX, the folder its libraries for Windows lie in.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TAVU_MINGW x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${TAVU_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TAVU_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${TAVU_MINGW}-windres)

set(TAVU_WINDOWS_PREFIX "$ENV{HOME}/.cache/tavu/win64" CACHE PATH "The libraries built for Windows")
set(CMAKE_FIND_ROOT_PATH /usr/${TAVU_MINGW} ${TAVU_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The pkg-config files of the libraries for Windows, never the system's own.
set(ENV{PKG_CONFIG_LIBDIR} "${TAVU_WINDOWS_PREFIX}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")

# Tests and programs run under Wine when CMake runs them.
find_program(TAVU_WINE NAMES wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(TAVU_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${TAVU_WINE})
endif()
