#!/usr/bin/env bash
# Makes a fresh Wine prefix for the checks: booted once; Wine draws the window frames itself
# (there is no window manager under Xvfb, and the checks click the close button); and a home
# whose ALSA default device is a null sink, so that waveOutOpen finds a device that plays nowhere.
source "$(dirname "$0")/wine_env.sh"
trap stop_wine_and_x EXIT

rm -rf "$WINEPREFIX" "$WINE_HOME"
mkdir -p "$WINE_HOME"
cat >"$WINE_HOME/.asoundrc" <<'ALSA'
pcm.!default {
  type null
}
ALSA

start_xvfb
started=$SECONDS
"$WINE64" wineboot --init
"$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null
"$WINESERVER" -w
echo "Wine prefix ready in $((SECONDS - started)) s: $WINEPREFIX"
