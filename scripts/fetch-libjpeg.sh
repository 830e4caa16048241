#!/bin/sh
# Fetches Debian's libjpeg-turbo source package into $1 once; prints the source folder.
set -e
dest=$1
mkdir -p "$dest"
cd "$dest"
src=$(ls -d libjpeg-turbo-*/ 2>/dev/null | head -n 1)
if [ -z "$src" ] || [ ! -f "$src/jpeglib.h" ]; then
  apt-get source -q libjpeg-turbo >&2
  src=$(ls -d libjpeg-turbo-*/ | head -n 1)
fi
printf '%s\n' "$dest/${src%/}"
