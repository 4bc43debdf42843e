# What the mingw-w64 toolchain files share; INTRO_MINGW_TRIPLET names the target and
# INTRO_MINGW_ARCH_FLAGS holds its code-generation flags. CMake reads a toolchain file several
# times, so the flags are set, never appended.
set(CMAKE_SYSTEM_NAME Windows)

# The program uses the win32 thread model, which needs no winpthread. GoogleTest needs std::mutex,
# which GCC 12 has only in the posix model (winpthread is then linked statically).
set(INTRO_MINGW_THREADS win32 CACHE STRING "Thread model of the mingw-w64 compilers: win32 or posix")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES INTRO_MINGW_THREADS)
find_program(INTRO_MINGW_CXX NAMES ${INTRO_MINGW_TRIPLET}-g++-${INTRO_MINGW_THREADS} REQUIRED)
find_program(INTRO_MINGW_CC NAMES ${INTRO_MINGW_TRIPLET}-gcc-${INTRO_MINGW_THREADS} REQUIRED)
set(CMAKE_C_COMPILER ${INTRO_MINGW_CC})
set(CMAKE_CXX_COMPILER ${INTRO_MINGW_CXX})
set(CMAKE_RC_COMPILER ${INTRO_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${INTRO_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# No fused multiply-adds: the synthesizer's output must keep the same bits on every platform.
set(CMAKE_C_FLAGS_INIT "-ffp-contract=off ${INTRO_MINGW_ARCH_FLAGS}")
set(CMAKE_CXX_FLAGS_INIT "-ffp-contract=off ${INTRO_MINGW_ARCH_FLAGS}")
# The program needs no DLL beyond the system's: the GCC runtime and libstdc++ go in statically.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++ -static")
