#!/usr/bin/env bash
# The portable unit tests, cross-built for Windows against a GoogleTest built from Debian's sources
# with the same toolchain, pass under Wine. GoogleTest needs the posix thread model of mingw-w64;
# the tests list is the suites that build for Windows (the host's use POSIX calls in a few cases).
source "$(dirname "$0")/wine_env.sh"
trap stop_wine_and_x EXIT
: "${INTRO_WIN_UNIT_DIR:?run through ctest}"
suites=(synth_tests:tests/synth)

arch=x86_64
[ "$WINE" == "$WINE64" ] || arch=i686
toolchain=$INTRO_SOURCE_DIR/cmake/mingw-w64-$arch.cmake
googletest=$INTRO_WIN_UNIT_DIR/googletest-$arch
build=$INTRO_WIN_UNIT_DIR/build-$arch

if [ ! -f "$googletest/install/lib/cmake/GTest/GTestConfig.cmake" ]; then
  echo "Building GoogleTest from /usr/src/googletest for Windows $arch"
  cmake -S /usr/src/googletest -B "$googletest/build" -G Ninja --toolchain "$toolchain" \
    -DINTRO_MINGW_THREADS=posix -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$googletest/install" >/dev/null
  cmake --build "$googletest/build" -j 2 >/dev/null
  cmake --install "$googletest/build" >/dev/null
fi

echo "Building the unit tests for Windows $arch"
cmake -S "$INTRO_SOURCE_DIR" -B "$build" -G Ninja --toolchain "$toolchain" \
  -DINTRO_MINGW_THREADS=posix -DCMAKE_BUILD_TYPE=RelWithDebInfo -DINTRO_BUILD_TESTS=ON \
  -DINTRO_BUILD_BENCH=OFF -DINTRO_WIN32_CHECK_PROGRAMS=OFF -DINTRO_WERROR="${INTRO_WERROR:-OFF}" \
  -DGTest_DIR="$googletest/install/lib/cmake/GTest" -DCMAKE_CROSSCOMPILING_EMULATOR="$WINE" \
  >/dev/null
targets=()
for suite in "${suites[@]}"; do
  targets+=("${suite%%:*}")
done
cmake --build "$build" -j 2 --target "${targets[@]}"

for suite in "${suites[@]}"; do
  echo "Running ${suite%%:*}.exe ($WIN_KIND)"
  "$WINE" "$build/${suite#*:}/${suite%%:*}.exe" --gtest_brief=1 ||
    fail "${suite%%:*} failed under Wine"
done
