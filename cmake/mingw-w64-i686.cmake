# Cross-builds the program for 32-bit x86 Windows with Debian's mingw-w64 (g++-mingw-w64-i686):
#   cmake -S . -B build-win32 -G Ninja --toolchain cmake/mingw-w64-i686.cmake
set(INTRO_MINGW_TRIPLET i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86)
# i686 code computes in the x87 unit by default, whose 80-bit intermediates round differently from
# the IEEE doubles the synthesizer is written for. SSE2 arithmetic gives the same bits as x86-64.
set(INTRO_MINGW_ARCH_FLAGS "-msse2 -mfpmath=sse")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
