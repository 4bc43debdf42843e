#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
scripts/setup-windows-cross.sh
scripts/build.sh -DINTRO_WERROR=ON
ctest --test-dir build --output-on-failure -j 2
