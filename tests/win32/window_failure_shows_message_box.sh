#!/usr/bin/env bash
# When no OpenGL context can be made (an X server without GLX), intro.exe shows the message box
# "window_init()!" with the caption "error" and, once it is dismissed, ends with a non-zero exit
# code, without starting the frame loop.
source "$(dirname "$0")/wine_env.sh"
trap 'stop_wine_and_x; rm -rf "$WORK"' EXIT
enter_scratch_folder
start_xvfb -extension GLX
start_intro

text=$("$WINE" win_probe.exe dialog error 120 | tr -d '\r') || fail "no message box captioned \"error\" appeared"
[ "$text" == "window_init()!" ] || fail "the message box says: $text"
expect_exit "$INTRO_PID" 60 1
console_has_line "dbg_init done!" && fail "start-up went on after the failure"
echo "message box \"window_init()!\" / \"error\", exit code 1"
