#!/usr/bin/env bash
# The synthesizer built for Windows renders the song with the same bits as the Linux build: both
# write the whole buffer, and every sample is compared.
source "$(dirname "$0")/wine_env.sh"
work=$(mktemp -d)
trap 'stop_wine_and_x; rm -rf "$work"' EXIT
cd "$work"
echo "Linux:   $("$INTRO_LINUX_SONG_DUMP" linux.raw 2>/dev/null)"
echo "Windows: $("$WINE" "$WIN_BUILD/song_dump.exe" windows.raw 2>/dev/null) ($WIN_KIND)"
"$INTRO_LINUX_SONG_DUMP" --compare linux.raw windows.raw
