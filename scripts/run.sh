#!/usr/bin/env bash
# Installs what is missing, builds the converter and starts it on your display.  Without a
# display it runs on a private virtual screen (Xvfb), saves a picture of the main window,
# prints where, and ends.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVIK_TESTS=OFF
cmake --build build
if [[ -n "${DISPLAY:-}" ]]; then
  exec build/app/tarvik "$@"
fi

if ! command -v Xvfb >/dev/null; then
  echo "No display, and Xvfb is not installed (apt-get install xvfb) to show the window on." >&2
  exit 1
fi
shot=${TARVIK_SCREENSHOT:-$PWD/build/tarvik-main-window.png}
rm -f "$shot"
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$fifo" 2>/dev/null &
xvfb=$!
read -r number <"$fifo"
rm -f "$fifo"
DISPLAY=:$number TARVIK_SCREENSHOT=$shot build/app/tarvik "$@" &
program=$!
for _ in $(seq 1 100); do
  [[ -s "$shot" ]] && break
  kill -0 "$program" 2>/dev/null || break
  sleep 0.1
done
sleep 0.5
kill "$program" "$xvfb" 2>/dev/null || true
wait "$program" "$xvfb" 2>/dev/null || true
if [[ -s "$shot" ]]; then
  echo "No display here: the converter ran on a private virtual screen. Its main window: $shot"
else
  echo "The converter did not show its main window on the virtual screen." >&2
  exit 1
fi
