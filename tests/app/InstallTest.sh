#!/bin/sh
# Installs the build into a temporary prefix, checks the layout a Linux desktop expects and
# starts the installed program headless: it must come up and wait in its message loop.
set -eu
build=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cmake --install "$build" --prefix "$tmp/usr" >/dev/null
for f in bin/tarvik share/tarvik/help.html share/tarvik/sounds/ring001.wav share/applications/tarvik.desktop \
         share/icons/hicolor/16x16/apps/tarvik.png share/icons/hicolor/48x48/apps/tarvik.png \
         share/icons/hicolor/256x256/apps/tarvik.png; do
  test -f "$tmp/usr/$f" || { echo "not installed: $f"; exit 1; }
done
desktop=$tmp/usr/share/applications/tarvik.desktop
grep -qx 'Name=TarvikH.264格式转换器' "$desktop" || { echo "desktop entry without the program's name"; exit 1; }
grep -qx 'Exec=tarvik' "$desktop" || { echo "desktop entry does not start tarvik"; exit 1; }
grep -q '^MimeType=.*video/x-msvideo;.*video/mp4;' "$desktop" || { echo "desktop entry without video types"; exit 1; }

mkdir -p "$tmp/home" "$tmp/config"
rc=0
HOME=$tmp/home TARVIK_CONFIG_DIR=$tmp/config TARVIK_DISPLAY=headless timeout 10 "$tmp/usr/bin/tarvik" || rc=$?
test "$rc" = 124 || { echo "the installed program ended with $rc instead of running"; exit 1; }
grep -qx 'SetSkin=0' "$tmp/config/option.ini" || { echo "no option.ini written"; exit 1; }
test -d "$tmp/home/Tarvik视频软件/输出" || { echo "no output folder made"; exit 1; }
echo "installed layout and start: ok"
