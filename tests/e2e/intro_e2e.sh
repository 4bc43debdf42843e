#!/usr/bin/env bash
# The real program under Xvfb: start-up lines, presented frames and the statistics title, the
# close button ignored, a seek heard in the captured sound, hot reload of ../shader.glsl (a good
# file replaces the picture, a broken one reports its log and changes nothing), Escape ends it
# with exit code 0.
# Usage: intro_e2e.sh INTRO CAPTURE_CHECK X_CLOSE_REQUEST
set -euo pipefail
intro=$1 capture_check=$2 close_request=$3

if [ -z "${INTRO_E2E_UNDER_X:-}" ]; then
  export INTRO_E2E_UNDER_X=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi

work=$(mktemp -d)
pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
mkdir "$work/run"
cd "$work/run" # the program reads ../shader.glsl, that is $work/shader.glsl

fail() {
  echo "FAIL: $*"
  echo "--- stdout (without the missing-file lines)"
  grep -v -e '^File ../shader.glsl not found.$' "$work/out.txt" | head -40 || true
  echo "--- stderr (without the missing-file lines)"
  grep -v -e '^Problem getting information' "$work/err.txt" | head -40 || true
  exit 1
}
# wait_for SECONDS DESCRIPTION COMMAND...: polls the command until it succeeds.
wait_for() {
  local seconds=$1 what=$2
  shift 2
  for ((i = 0; i < seconds * 10; i++)); do
    if "$@" >/dev/null 2>&1; then return 0; fi
    sleep 0.1
  done
  fail "timed out after ${seconds}s waiting for: $what"
}
frame_number() { xdotool getwindowname "$wid" | sed -n 's/.*FRAME: \([0-9]*\).*/\1/p'; }
frames_advance() {
  local before
  before=$(frame_number)
  wait_for 20 "frames to be presented" test_frame_above "$before"
}
test_frame_above() { [ "$(frame_number)" -gt "$1" ]; }
centre_pixel() { import -window "$wid" -crop 1x1+320+210 -depth 8 txt:- | tail -1 | grep -o '#[0-9A-F]\{6\}'; }

export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/audio.raw"
"$intro" >"$work/out.txt" 2>"$work/err.txt" &
pid=$!

# Start-up: the console lines in order, then frames with the statistics in the title.
wait_for 60 "a window titled with the statistics" xdotool search --name '^TIME: '
wid=$(xdotool search --name '^TIME: ' | head -1)
[ "$(head -3 "$work/out.txt")" = $'Test output\nTest output to stdout\ndbg_init done!' ] ||
  fail "start-up lines"
grep -qx 'Test output to stderr' "$work/err.txt" || fail "the stderr test line"
title=$(xdotool getwindowname "$wid")
[[ $title =~ ^TIME:\ [0-9]+\.[0-9]{2}\ \ \ FRAME:\ [0-9]+\ \ \ FPS:\ [0-9.]+\ /\ [0-9.inf]+,\ [0-9.]+$ ]] ||
  fail "title '$title' is not the statistics line"
frames_advance
echo "ok: start-up lines, frames presented, title '$title'"

# The close button posts a quit request that the program ignores.
"$close_request" "$wid"
sleep 1
kill -0 "$pid" 2>/dev/null || fail "the close button ended the program"
frames_advance
echo "ok: close request ignored"

# Right arrow: one second forward.
xdotool windowfocus --sync "$wid"
xdotool key Right
wait_for 10 "the seek's offset line" grep -qx 'last offset 0' "$work/out.txt"
echo "ok: right arrow printed 'last offset 0'"

# Hot reload: the first sight of the file only records its time; a newer save rebuilds.
before=$(centre_pixel)
echo 'void main() { gl_FragColor = vec4(0.0, 0.0, 1.0, 1.0); }' >"$work/shader.glsl"
frames_advance # the frame that ended may have polled before the file existed; the next did not
frames_advance
printf '#version 430 compatibility\nvoid main() { gl_FragColor = vec4(1.0, 0.0, 0.0, 1.0); }\n' \
  >"$work/shader.glsl"
touch -d "@$(($(date +%s) + 2))" "$work/shader.glsl"
wait_for 30 "the reload of a good shader" grep -qx 'Loaded shader from "../shader.glsl"' \
  "$work/out.txt"
grep -qx 'hotreload updated' "$work/out.txt" || fail "no 'hotreload updated' line"
frames_advance
frames_advance
[ "$(centre_pixel)" = "#FF0000" ] || fail "the reloaded shader did not replace the picture ($before, then $(centre_pixel))"
echo "ok: saved shader replaced the picture ($before -> #FF0000)"

printf '#version 430 compatibility\nvoid main() { gl_FragColor = broken; }\n' >"$work/shader.glsl"
touch -d "@$(($(date +%s) + 4))" "$work/shader.glsl"
wait_for 30 "the link error" grep -qx 'ERROR: CheckProgram: failed to link ../shader.glsl!' \
  "$work/err.txt"
log=$(grep -A1 -x 'ERROR: CheckProgram: failed to link ../shader.glsl!' "$work/err.txt" | tail -1)
[ -n "$log" ] || fail "no info log after the link error"
frames_advance
frames_advance
[ "$(centre_pixel)" = "#FF0000" ] || fail "the broken shader changed the picture"
echo "ok: broken shader reported ('$log'), picture kept"

# Escape ends the program with exit code 0 after the shutdown line.
xdotool windowfocus --sync "$wid"
xdotool key Escape
status=0
wait "$pid" || status=$?
pid=
[ "$status" -eq 0 ] || fail "exit code $status after Escape"
[ "$(tail -1 "$work/out.txt")" = 'dbg_deinit done!' ] || fail "last line is not 'dbg_deinit done!'"
echo "ok: Escape ended it with exit code 0"

# The captured sound plays the song from its start (after at most a buffer of silence that the
# device played before playback began), then jumps one second ahead, less the device's
# buffering, which was already handed over when the seek came.
"$capture_check" "$work/audio.raw" >"$work/capture.txt"
cat "$work/capture.txt"
shifts=$(sed -n 's/^capture \([0-9]*\): song \([0-9]*\)$/\2 - \1/p' "$work/capture.txt" |
  while read -r expr; do echo $((expr)); done)
first=$(echo "$shifts" | sed -n 1p)
second=$(echo "$shifts" | sed -n 2p)
[ -n "$first" ] && ((first <= 0 && first > -8192)) ||
  fail "the capture does not start with the song's start (shifts: $(echo $shifts))"
[ -n "$second" ] && jump=$((second - first)) && ((jump > 44100 - 8192 && jump <= 44100)) ||
  fail "no jump of about one second in the captured sound (shifts: $(echo $shifts))"
[ "$(echo "$shifts" | wc -l)" -eq 2 ] || fail "more than one jump in the captured sound"
echo "ok: the captured sound jumped $jump frames ahead"
