#!/usr/bin/env bash
# Installs what cross-building the Windows program and running it under Wine need: mingw-w64 for
# 32-bit and 64-bit x86, Wine (the 32-bit half needs Debian's i386 architecture), the 64-bit and
# 32-bit Mesa GL that Wine draws with, and Xvfb/xdotool for the headless checks.
# Idempotent: asks apt only for what is missing, so a ready machine pays nothing.
set -euo pipefail
if [[ "${1:-}" == --help || "${1:-}" == -h ]]; then
  sed -n '2,/^set -euo/{/^#/s/^# \{0,1\}//p}' "$0"
  exit 0
fi

packages=(
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine wine64 wine32:i386
  libgl1 libglx-mesa0 libgl1-mesa-dri libgl1:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386
  libxrandr2 libxi6 libxcursor1 libxrender1 libxxf86vm1 libxinerama1 libxcomposite1 libasound2
  libxrandr2:i386 libxi6:i386 libxcursor1:i386 libxrender1:i386 libxxf86vm1:i386
  libxinerama1:i386 libxcomposite1:i386 libasound2:i386
  xvfb xauth xdotool x11-utils imagemagick
)

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

need_update=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "Adding the i386 architecture (for wine32)"
  "${sudo_cmd[@]}" dpkg --add-architecture i386
  need_update=1
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  need_update=1
fi
if ((need_update)); then
  "${sudo_cmd[@]}" apt-get update -qq
fi
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}"
fi
