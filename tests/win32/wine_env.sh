# Sourced by the Wine checks. Chooses the Wine and the build that this host can run, points Wine
# at the checks' own prefix and home, and starts and stops a private X server.
set -euo pipefail
: "${INTRO_WINE_PREFIX:?run the Windows checks through ctest (tests/win32)}"

export WINEPREFIX=$INTRO_WINE_PREFIX
# Wine's sound goes to ALSA, which reads ~/.asoundrc: the checks' home names a null sink there.
export WINE_HOME=$INTRO_WINE_PREFIX-home
export HOME=$WINE_HOME
export WINEDEBUG=-all
# No Mono or Gecko installer dialogs: the program needs neither.
export WINEDLLOVERRIDES="mscoree=;mshtml="

WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
# The shipped program is the 32-bit one. Hosts whose kernel runs no 32-bit x86 code (some virtual
# machines) cannot start 32-bit Wine at all; they run the 64-bit build of the same sources.
if [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
  WINE=/usr/lib/wine/wine
  WIN_BUILD=$INTRO_WIN32_BUILD
  WIN_KIND="32-bit x86 build"
else
  WINE=$WINE64
  WIN_BUILD=$INTRO_WIN64_BUILD
  WIN_KIND="64-bit x86 build (this host cannot run 32-bit x86 code)"
fi

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

XVFB_PID=
# Starts a private X server on a free display and exports DISPLAY; arguments go to Xvfb.
start_xvfb() {
  local display_file
  display_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp "$@" 3>"$display_file" 2>/dev/null &
  XVFB_PID=$!
  local i
  for i in $(seq 100); do
    [ -s "$display_file" ] && break
    sleep 0.1
  done
  [ -s "$display_file" ] || fail "Xvfb did not start"
  DISPLAY=":$(head -n1 "$display_file")"
  export DISPLAY
  rm -f "$display_file"
}

# Ends every Wine process of the prefix and the X server.
stop_wine_and_x() {
  "$WINESERVER" -k 2>/dev/null || true
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
  fi
}

# Runs the command until it succeeds, for at most $1 seconds; false when time runs out.
wait_until() {
  local limit=$1
  shift
  local end=$((SECONDS + limit))
  until "$@"; do
    ((SECONDS < end)) || return 1
    sleep 0.2
  done
}

# The program's window: titled "Intro" until the first frame, then its statistics.
find_intro_window() {
  INTRO_WINDOW=$(xdotool search --name '^(Intro|TIME: .*)$' 2>/dev/null | head -n1)
  [ -n "$INTRO_WINDOW" ]
}

title_shows_statistics() {
  [[ "$(xdotool getwindowname "$INTRO_WINDOW" 2>/dev/null)" =~ ^TIME:\ [0-9.]+\ \ \ FRAME:\ [0-9]+\ \ \ FPS:\  ]]
}

# Prints "TIME FRAME" from the title.
title_time_and_frame() {
  xdotool getwindowname "$INTRO_WINDOW" | sed -n 's/^TIME: \([0-9.]*\)   FRAME: \([0-9]*\) .*/\1 \2/p'
}

# True when the console (as win_probe last wrote it to console.txt) holds that whole line.
console_has_line() {
  [ -f console.txt ] && grep -qxF -- "$1" console.txt
}

# The console's text lines, without win_probe's first line and without trailing empty lines.
console_lines() {
  tail -n +2 console.txt | sed -e :a -e '/^\n*$/{$d;N;ba' -e '}'
}

# Starts intro.exe from the current folder in the background, with win_probe following its
# console into console.txt; INTRO_PID is the Wine process, whose exit status is the program's.
start_intro() {
  rm -f console.txt
  "$WINE" win_probe.exe console intro.exe console.txt 300 >probe.log 2>&1 &
  PROBE_PID=$!
  "$WINE" intro.exe >intro.log 2>&1 &
  INTRO_PID=$!
}

# Copies the programs into a scratch folder laid out as the program expects: its working folder
# run/, with ../shader.glsl present (it is not loaded at start, and the per-frame file check finds
# it, so the console holds no "not found" lines). Sets WORK and enters run/.
enter_scratch_folder() {
  WORK=$(mktemp -d)
  mkdir "$WORK/run"
  cp "$WIN_BUILD/intro.exe" "$WIN_BUILD/win_probe.exe" "$WORK/run/"
  cp "$INTRO_SOURCE_DIR/shader/shader.glsl" "$WORK/shader.glsl"
  cd "$WORK/run"
  echo "Running the $WIN_KIND under $("$WINE" --version)"
}

# True while the process runs (an ended child that was not yet waited for does not count).
process_running() {
  local state
  state=$(ps -o stat= -p "$1" 2>/dev/null) || return 1
  [[ -n "$state" && "$state" != Z* ]]
}

# Waits up to $2 seconds for the program (process $1) to end, then checks its exit status is $3.
expect_exit() {
  local pid=$1 limit=$2 expected=$3
  wait_until "$limit" eval "! process_running $pid" || fail "the program did not end"
  local status=0
  wait "$pid" || status=$?
  ((status == expected)) || fail "exit code $status, expected $expected"
}

# Waits up to $2 seconds for the title's frame count to pass $1 (frames take a second or more in
# software rendering on a busy machine).
wait_for_frame_after() {
  local frame=$1 limit=$2
  frame_passed() {
    local _time now
    read -r _time now < <(title_time_and_frame) || return 1
    ((now > frame))
  }
  wait_until "$limit" frame_passed
}
