#!/bin/bash
# Installs what building and testing KINOVELA needs on Debian 12, and nothing else.
# Idempotent: when everything is there it only checks and returns.
set -euo pipefail

packages=(
  cmake make g++ clang python3 file
  g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-posix
  wine wine64
  xvfb xdotool imagemagick x11-utils x11-xserver-utils
  pulseaudio pulseaudio-utils
  ffmpeg
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad
  gstreamer1.0-plugins-ugly gstreamer1.0-libav
  fonts-thai-tlwg
  googletest libjpeg62-turbo-dev
  dpkg-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo

# The libjpeg sources come from Debian's source package: apt needs a deb-src line for it.
src_list=/etc/apt/sources.list.d/kinovela-src.sources
need_update=0
if ! grep -rqs '^Types:.*deb-src\|^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  $sudo tee "$src_list" >/dev/null <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  need_update=1
fi
if [ ! -d /var/lib/apt/lists ] || ! ls /var/lib/apt/lists/*_source_Sources* >/dev/null 2>&1; then
  need_update=1
fi

if [ ${#missing[@]} -gt 0 ] || [ $need_update -eq 1 ]; then
  $sudo apt-get update -q
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "bootstrap: installing ${missing[*]}"
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
echo "bootstrap: all build and test tools are present"
