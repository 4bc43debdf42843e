#!/usr/bin/env bash
# intro.exe under Wine with no sound driver at all: waveOutOpen fails, the program runs on, the
# clock stands still at 0 while frames go on, and moves only by seeks (one second per right
# arrow), the picture at a standing clock is the one the Linux tool draws for that moment; Escape
# still ends it with exit code 0.
source "$(dirname "$0")/wine_env.sh"
restore_driver() {
  "$WINE64" reg delete 'HKCU\Software\Wine\Drivers' /v Audio /f >/dev/null 2>&1 || true
}
trap 'restore_driver; stop_wine_and_x; rm -rf "$WORK"' EXIT
enter_scratch_folder
start_xvfb
# An empty driver list leaves Wine without any wave-out device.
"$WINE64" reg add 'HKCU\Software\Wine\Drivers' /v Audio /d "" /f >/dev/null
start_intro

wait_until 120 find_intro_window || fail "no window titled \"Intro\" appeared"
wait_until 180 title_shows_statistics || fail "the title never showed the statistics"
read -r time1 frame1 < <(title_time_and_frame)
sleep 2
wait_for_frame_after "$frame1" 120 || fail "no frame presented after frame $frame1"
read -r time2 frame2 < <(title_time_and_frame)
[[ "$time1" == 0.00 && "$time2" == 0.00 ]] || fail "the clock moved without a device: $time1, $time2"
echo "no device: frames $frame1 -> $frame2, clock stands at 0.00"

xdotool windowfocus --sync "$INTRO_WINDOW"
xdotool key Right
wait_until 30 console_has_line "last offset 0" || fail "the right arrow printed no \"last offset 0\""
clock_at_one_second() { [[ "$(title_time_and_frame)" == "1.00 "* ]]; }
wait_until 60 clock_at_one_second || fail "the seek did not move the clock to 1.00: $(title_time_and_frame)"
xdotool key Right
wait_until 30 console_has_line "last offset 88200" || fail "the second seek printed no \"last offset 88200\""
echo "seeks: clock at 1.00 after the first, offsets 0 and 88200 printed"

# With the clock standing still every frame shows the same picture, which must be the one the
# Linux tool draws for that play position.
if [ -n "${INTRO_RENDER:-}" ]; then
  xdotool key Right Right Right
  clock_at_five_seconds() { [[ "$(title_time_and_frame)" == "5.00 "* ]]; }
  wait_until 60 clock_at_five_seconds || fail "three more seeks did not reach 5.00"
  read -r _ frame < <(title_time_and_frame)
  wait_for_frame_after "$frame" 120 || fail "no frame presented at 5.00"
  client=$(xwininfo -children -id "$INTRO_WINDOW" | sed -n 's/^ *\(0x[0-9a-f]*\) .*: ()  *640x420+.*/\1/p')
  [ -n "$client" ] || fail "no 640x420 drawing surface in the window"
  import -window "$client" windows.png
  "$INTRO_RENDER" frame --position 220500 -o linux.png
  differing=$(compare -metric AE -fuzz 2% windows.png linux.png null: 2>&1 || true)
  ((differing <= 2688)) || fail "the picture at 5.00 differs from the Linux one in $differing pixels"
  echo "picture at 5.00: $differing of 268800 pixels differ from the Linux tool's"
fi

xdotool key Escape
expect_exit "$INTRO_PID" 60 0
echo "Escape: exit code 0"
