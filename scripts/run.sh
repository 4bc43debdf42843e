#!/usr/bin/env bash
# Installs what is missing, builds, and starts the piece from build/ (where it looks for
# ../shader.glsl, the working copy of the shader that it reloads whenever it is saved).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
scripts/build.sh
cd build
exec ./intro "$@"
