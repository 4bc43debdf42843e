# Cross-builds the program for 64-bit x86 Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64).
# The shipped program is the 32-bit one; this build runs the same sources under 64-bit Wine where
# 32-bit code cannot run (hosts without 32-bit user-mode support).
set(INTRO_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(INTRO_MINGW_ARCH_FLAGS "")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
