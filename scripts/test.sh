#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite; then builds again
# with AddressSanitizer + UndefinedBehaviorSanitizer and with ThreadSanitizer and runs the unit
# tests (label "unit") under each. Pass --no-sanitizers to skip those two builds.
set -euo pipefail
cd "$(dirname "$0")/.."
sanitizers=1
[ "${1:-}" = "--no-sanitizers" ] && sanitizers=0

scripts/setup-debian.sh
scripts/build.sh -DINTRO_WERROR=ON -DINTRO_BUILD_TESTS=ON -DINTRO_BUILD_BENCH=ON
ctest --test-dir build --output-on-failure -j 2

if ((sanitizers)); then
  for variant in "asan address,undefined" "tsan thread"; do
    set -- $variant
    dir="build-$1"
    echo "== unit tests under -fsanitize=$2 ($dir)"
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DINTRO_WERROR=ON \
      -DINTRO_SANITIZE="$2" -DINTRO_BUILD_BENCH=OFF >/dev/null
    cmake --build "$dir"
    # setarch -R: ThreadSanitizer cannot map its shadow memory under the high address-space
    # randomisation of recent kernels.
    setarch "$(uname -m)" -R ctest --test-dir "$dir" --output-on-failure -j 2 -L unit
  done
fi
