#!/usr/bin/env bash
# Installs what is missing (ffmpeg included), builds, and makes a video of the whole piece:
# scripts/video.sh [OUT.mp4] [more intro-render video options, e.g. --fps 30 --to 20]
set -euo pipefail
output=intro.mp4
if (($#)) && [[ $1 != -* ]]; then
  output=$1
  shift
fi
output=$(realpath -m -- "$output") # named from where the script was started
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
scripts/build.sh
exec build/tools/intro-render/intro-render video -o "$output" "$@"
