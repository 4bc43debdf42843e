#!/usr/bin/env bash
# The shipped intro.exe is a 32-bit x86 windowed program that needs no DLL beyond the system's
# (the GCC runtime and libstdc++ are linked in); the 64-bit build that Wine may run instead is
# held to the same rule.
set -euo pipefail
: "${INTRO_WIN32_BUILD:?run through ctest}"
system_dlls=" kernel32.dll user32.dll gdi32.dll opengl32.dll winmm.dll msvcrt.dll "

check() {
  local exe=$1 objdump=$2 magic=$3
  local info
  info=$("$objdump" -p "$exe")
  grep -Eq "^Magic[[:space:]]+$magic" <<<"$info" || { echo "FAILED: $exe is not PE magic $magic" >&2; return 1; }
  grep -Eq '^Subsystem[[:space:]]+00000002' <<<"$info" || { echo "FAILED: $exe is not a windowed program" >&2; return 1; }
  local dll
  for dll in $(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$info" | tr 'A-Z' 'a-z'); do
    [[ "$system_dlls" == *" $dll "* ]] || { echo "FAILED: $exe needs $dll" >&2; return 1; }
  done
  echo "$exe: PE magic $magic, windowed, imports: $(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$info" | tr '\n' ' ')"
}

check "$INTRO_WIN32_BUILD/intro.exe" i686-w64-mingw32-objdump 010b
check "$INTRO_WIN64_BUILD/intro.exe" x86_64-w64-mingw32-objdump 020b
