#!/usr/bin/env bash
# When the GL driver lacks an entry point the program calls (Mesa told to offer OpenGL 3.3
# without separate shader objects), intro.exe stops start-up with a console message naming it,
# releases the window and ends with a non-zero exit code, without starting the frame loop.
source "$(dirname "$0")/wine_env.sh"
trap 'stop_wine_and_x; rm -rf "$WORK"' EXIT
enter_scratch_folder
start_xvfb
MESA_GL_VERSION_OVERRIDE=3.3COMPAT \
  MESA_EXTENSION_OVERRIDE="-GL_ARB_separate_shader_objects -GL_ARB_compute_shader" start_intro

expect_exit "$INTRO_PID" 120 1
wait "$PROBE_PID" || true
# The console is 80 columns wide: the message wraps, its start names the entry point.
grep -q '^ERROR: the OpenGL driver lacks glCreateShaderProgramv; ' console.txt ||
  fail "no message naming the missing entry point; console: $(console_lines)"
[ "$(console_lines | tail -n1)" == "dbg_deinit done!" ] ||
  fail "start-up did not end by releasing the window; console: $(console_lines)"
echo "missing glCreateShaderProgramv: named on the console, exit code 1"
