#!/usr/bin/env bash
# Installs what is missing, builds, and plays the piece.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
scripts/build.sh -DINTRO_BUILD_TESTS=OFF -DINTRO_BUILD_BENCH=OFF
mkdir -p out
build/tools/intro-render/intro-render wav out/song.wav
echo "The song is in $(pwd)/out/song.wav"
