#!/usr/bin/env bash
# Installs what is missing, builds the converter and starts it on your display.  Without a
# display it installs Xvfb too, runs on a private virtual screen, saves a picture of the main
# window, prints where, and ends.
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ -n "${DISPLAY:-}" ]]; then
  scripts/deps.sh
else
  scripts/deps.sh --virtual-screen
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVIK_TESTS=OFF
cmake --build build
if [[ -n "${DISPLAY:-}" ]]; then
  exec build/app/tarvik "$@"
fi

shot=${TARVIK_SCREENSHOT:-$PWD/build/tarvik-main-window.png}
rm -f "$shot"
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$fifo" 2>/dev/null &
xvfb=$!
read -r number <"$fifo"
rm -f "$fifo"
said=$(mktemp -u)
mkfifo "$said"
DISPLAY=:$number TARVIK_SCREENSHOT=$shot build/app/tarvik "$@" >"$said" &
program=$!
exec 4<"$said"
rm -f "$said"
# The program says when the picture is saved (and on stderr why not); it ends on SIGTERM as
# when its window is closed.
while read -r -t 120 line <&4; do
  [[ $line == *"$shot"* ]] && break
done
kill "$program" 2>/dev/null || true
wait "$program" 2>/dev/null || true
kill "$xvfb" 2>/dev/null || true
wait "$xvfb" 2>/dev/null || true
if [[ -s "$shot" ]]; then
  echo "No display here: the converter ran on a private virtual screen. Its main window: $shot"
else
  echo "The converter did not show its main window on the virtual screen." >&2
  exit 1
fi
