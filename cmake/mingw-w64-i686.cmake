# Cross-build of the program for 32-bit Windows with mingw-w64; the tests run
# under 32-bit Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Doubles in SSE2 registers, as on x86-64: the x87 unit's longer mantissa
# rounds the colour ramps and other sums differently (-10 dB would come out
# one step off its colour). Windows calls back with the stack aligned to 4
# bytes only, so a function that keeps SSE values on it aligns it itself.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse -mstackrealign")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse -mstackrealign")
# One file that needs no runtime beside the system's (a dynamically linked
# test also exits silently under Wine).
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# The 32-bit loader by path: the one on PATH may be either.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine)
