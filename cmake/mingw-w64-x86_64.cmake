# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (the posix
# thread model, so that std::thread and std::mutex work).
#
#   cmake -S . -B build-windows/win \
#         -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#         -DTALLYBOOK_MINGW_PREFIX=/path/to/mingw/prefix
#
# TALLYBOOK_MINGW_PREFIX holds the Windows builds of the dependencies
# (libdeflate, GoogleTest, CLI11's headers); scripts/build-windows.sh makes
# it. zlib is Debian's libz-mingw-w64-dev.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${_mingw}-windres)

# Forwarded to the compiler checks, which read this file again.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TALLYBOOK_MINGW_PREFIX)

set(CMAKE_FIND_ROOT_PATH /usr/${_mingw})
if(TALLYBOOK_MINGW_PREFIX)
  list(APPEND CMAKE_FIND_ROOT_PATH ${TALLYBOOK_MINGW_PREFIX})
  list(APPEND CMAKE_PREFIX_PATH ${TALLYBOOK_MINGW_PREFIX})
endif()
# Programs come from the build machine; libraries, headers and packages
# only from the Windows roots, never the host's (its ICU, its GoogleTest).
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config sees only the Windows prefix.
if(TALLYBOOK_MINGW_PREFIX)
  set(ENV{PKG_CONFIG_LIBDIR} "${TALLYBOOK_MINGW_PREFIX}/lib/pkgconfig")
else()
  set(ENV{PKG_CONFIG_LIBDIR} "/usr/${_mingw}/lib/pkgconfig")
endif()
set(ENV{PKG_CONFIG_PATH} "")

# Test programs run (and are listed by ctest) under Wine. Start Wine's helper
# processes before ctest (for example `wine cmd /c exit`): started by a test
# program they would hold its output pipe open, and the listing would wait.
find_program(TALLYBOOK_WINE NAMES wine64 wine)
if(TALLYBOOK_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TALLYBOOK_WINE})
endif()
