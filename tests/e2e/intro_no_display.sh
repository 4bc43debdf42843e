#!/usr/bin/env bash
# Without any display the window cannot be made: the message "window_init()!" with caption
# "error" (on standard error, as no message box can be shown), a non-zero exit, no GL and no sound.
# Usage: intro_no_display.sh INTRO
set -uo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER SDL_AUDIODRIVER=disk \
  SDL_DISKAUDIOFILE="$work/audio.raw" timeout 30 "$1" >out.txt 2>err.txt
status=$?
fail() {
  echo "FAIL: $*"
  echo "--- stdout"; cat out.txt
  echo "--- stderr"; cat err.txt
  exit 1
}
((status != 0 && status != 124)) || fail "exit code $status"
grep -qx 'error: window_init()!' err.txt || fail "no 'window_init()!' message"
! grep -q 'dbg_init done!' out.txt || fail "start-up went on after the failure"
[ ! -e audio.raw ] || fail "sound was started"
echo "ok: exit code $status, message shown, no sound"
