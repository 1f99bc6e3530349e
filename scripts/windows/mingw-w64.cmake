# Cross-building for 64-bit Windows with Debian's mingw-w64 (package
# mingw-w64): cmake -DCMAKE_TOOLCHAIN_FILE=scripts/windows/mingw-w64.cmake.
# The posix-thread compilers, since GoogleTest needs std::thread and
# std::mutex; the C and C++ runtimes are linked in, so the programs need no
# DLL of the compiler's. Libraries and headers come only from the target's
# own tree and CMAKE_PREFIX_PATH (freeglut built for Windows), never from
# this system's.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TANK_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TANK_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TANK_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${TANK_MINGW}-windres)
# The target's tree, and each prefix given in CMAKE_PREFIX_PATH as a tree of
# its own (where the cross-built freeglut is installed).
set(CMAKE_FIND_ROOT_PATH /usr/${TANK_MINGW} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Test programs run under Wine, on this system.
find_program(TANK_WINE wine)
if(TANK_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TANK_WINE})
endif()
