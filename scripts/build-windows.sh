#!/usr/bin/env bash
# Cross-builds the Windows program with mingw-w64 (scripts/setup-windows-cross.sh installs it):
#   build-win32/intro.exe  32-bit x86, the program to ship
#   build-win64/intro.exe  64-bit x86, the same sources, for Wine on hosts that cannot run 32-bit
#                          code
# beside the check programs song_dump.exe and win_probe.exe. Extra arguments go to the CMake
# configure step (e.g. -DINTRO_WERROR=ON). INTRO_WIN32_BUILD / INTRO_WIN64_BUILD move the folders.
set -euo pipefail
if [[ "${1:-}" == --help || "${1:-}" == -h ]]; then
  sed -n '2,/^set -euo/{/^#/s/^# \{0,1\}//p}' "$0"
  exit 0
fi
root=$(cd "$(dirname "$0")/.." && pwd)
build32=${INTRO_WIN32_BUILD:-$root/build-win32}
build64=${INTRO_WIN64_BUILD:-$root/build-win64}

for pair in "i686:$build32" "x86_64:$build64"; do
  arch=${pair%%:*}
  dir=${pair#*:}
  echo "Cross-building for Windows $arch into $dir"
  cmake -S "$root" -B "$dir" -G Ninja --toolchain "$root/cmake/mingw-w64-$arch.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DINTRO_BUILD_TESTS=OFF -DINTRO_BUILD_BENCH=OFF "$@" >/dev/null
  cmake --build "$dir" -j 2 --target intro song_dump win_probe
done
