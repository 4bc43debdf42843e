#!/usr/bin/env bash
# intro.exe under Wine with a sound device that plays nowhere: the console lines come in order,
# frames are presented and the title shows the statistics, the audio clock moves, the right arrow
# seeks ("last offset 0"), the close button and Alt+F4 leave the program running, and Escape ends
# it with exit code 0 after "dbg_deinit done!".
source "$(dirname "$0")/wine_env.sh"
trap 'stop_wine_and_x; rm -rf "$WORK"' EXIT
enter_scratch_folder
start_xvfb
# The message trace shows the close requests reaching the program's (ANSI) window procedure.
WINEDEBUG=-all,+msg start_intro

wait_until 120 find_intro_window || fail "no window titled \"Intro\" appeared"
wait_until 180 title_shows_statistics || fail "the title never showed the statistics"
wait_until 30 console_has_line "dbg_init done!" || fail "no \"dbg_init done!\" on the console"
expected=$'Test output\nTest output to stdout\nTest output to stderr\ndbg_init done!'
[ "$(console_lines)" == "$expected" ] || fail "console lines: $(console_lines)"
height=$(sed -n '1s/^screen buffer: [0-9]* x \([0-9]*\)$/\1/p' console.txt)
((height >= 1024)) || fail "the console keeps only $height lines"
echo "console: in order, $height lines kept"

read -r time1 frame1 < <(title_time_and_frame)
sleep 2
wait_for_frame_after "$frame1" 120 || fail "no frame presented after frame $frame1"
read -r time2 frame2 < <(title_time_and_frame)
awk -v a="$time1" -v b="$time2" 'BEGIN { exit !(b > a) }' || fail "the clock stood at $time1"
echo "frames $frame1 -> $frame2, clock $time1 -> $time2"

# Wine gives the drawing surface an X window of its own: it is the client area.
client=$(xwininfo -children -id "$INTRO_WINDOW" | sed -n 's/^ *0x[0-9a-f]* .*: ()  *\([0-9]*x[0-9]*\)+.*/\1/p')
[ "$client" == 640x420 ] || fail "the client area is $client, not 640x420"
# The middle of the picture is drawn by the passes, not left to the background brush (48, 32, 16),
# which the system may paint for a moment when the window is invalidated, until the next swap.
middle_is_drawn() {
  import -window "$INTRO_WINDOW" -crop 16x16+316+225 txt:- | tail -n +2 | grep -vq 'srgb(48,32,16)'
}
wait_until 30 middle_is_drawn || fail "the window shows only its background brush"
echo "client area 640x420, drawn over the background brush"

eval "$(xdotool getwindowgeometry --shell "$INTRO_WINDOW")"
xdotool mousemove --sync $((X + WIDTH - 14)) $((Y + 12)) click 1
xdotool windowfocus --sync "$INTRO_WINDOW"
xdotool key alt+F4
wait_until 20 bash -c '(($(grep -c "CallProcWtoA.*msg=WM_CLOSE" intro.log) >= 2))' ||
  fail "the close requests did not reach the window procedure"
sleep 2
process_running "$INTRO_PID" || fail "a close request ended the program"
read -r _ frame3 < <(title_time_and_frame)
wait_for_frame_after "$frame3" 120 || fail "frames stopped after the close requests"
read -r _ frame4 < <(title_time_and_frame)
echo "close button and Alt+F4: still running, frames $frame3 -> $frame4"

xdotool windowfocus --sync "$INTRO_WINDOW"
xdotool key Right
wait_until 30 console_has_line "last offset 0" || fail "the right arrow printed no \"last offset 0\""

xdotool key Escape
expect_exit "$INTRO_PID" 60 0
wait "$PROBE_PID" || true
expected+=$'\nlast offset 0\ndbg_deinit done!'
[ "$(console_lines)" == "$expected" ] || fail "console lines at the end: $(console_lines)"
echo "Escape: exit code 0, console ends with \"dbg_deinit done!\""
