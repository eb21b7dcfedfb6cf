# Cross-build the 32-bit Windows program with Debian's MinGW-w64 (i686).
# KORVIX_MINGW_PREFIX=x86_64-w64-mingw32 builds everything for 64-bit
# Windows instead: the test bench of a machine that cannot run 32-bit code.
set(CMAKE_SYSTEM_NAME Windows)

set(KORVIX_MINGW_PREFIX i686-w64-mingw32 CACHE STRING "MinGW-w64 target triplet")
string(REGEX REPLACE "-.*" "" CMAKE_SYSTEM_PROCESSOR ${KORVIX_MINGW_PREFIX})
# The posix thread model: its C++ runtime has std::mutex, which GoogleTest
# needs. Linked statically, it adds no DLL to the program.
set(CMAKE_C_COMPILER ${KORVIX_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KORVIX_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${KORVIX_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KORVIX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Tests run the Windows binaries under Wine.
find_program(KORVIX_WINE wine)
if(KORVIX_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${KORVIX_WINE})
endif()
