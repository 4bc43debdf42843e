#!/usr/bin/env bash
# Installs what is missing, builds, and starts the piece from build/. The program reloads
# ../shader.glsl (this repository's shader.glsl) whenever it is saved; a first run seeds that
# working copy from shader/shader.glsl. Escape ends the piece.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
scripts/build.sh -DINTRO_BUILD_TESTS=OFF -DINTRO_BUILD_BENCH=OFF
if [ ! -e shader.glsl ]; then
  cp shader/shader.glsl shader.glsl
  echo "Live-editing copy of the shader: $(pwd)/shader.glsl (save it to see the change)"
fi
cd build
exec ./intro "$@"
