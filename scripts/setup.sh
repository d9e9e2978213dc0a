#!/usr/bin/env bash
# Installs what building, running and testing Lumatype need. Safe to run again:
# it installs only the packages that are missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64
  wine64 fonts-wine fonts-liberation fontconfig libxrender1 libxcomposite1
  xvfb openbox xdotool x11-utils imagemagick python3 procps
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Wine ships a Tahoma-compatible font but, as packaged here, looks for fonts
# only through fontconfig and the prefix: make it visible to fontconfig so
# that key labels are drawn in Tahoma, as on Windows.
fontdir=/usr/local/share/fonts/lumatype-wine
if [ -f /usr/share/wine/fonts/tahoma.ttf ] && [ ! -e "$fontdir/tahoma.ttf" ]; then
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" mkdir -p "$fontdir"
  "${sudo_cmd[@]}" ln -sf /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf "$fontdir/"
  "${sudo_cmd[@]}" fc-cache -f "$fontdir" >/dev/null 2>&1 || true
fi
