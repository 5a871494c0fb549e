#!/bin/sh
# Without a screen to show its window on, the program says why on stderr and ends with status 1
# rather than running unseen: a DISPLAY that names no X server (asked again for a few seconds,
# as for a server still starting) and no DISPLAY at all.  Only TARVIK_DISPLAY=headless runs it
# without a screen.
set -u
program=$1
n=99
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
failed=0
expect() {
  want=$1
  shift
  rc=0
  said=$(env -u TARVIK_DISPLAY -u DISPLAY HOME="$home" TARVIK_CONFIG_DIR="$home" "$@" timeout 60 "$program" 2>&1 >/dev/null) || rc=$?
  case $said in
    "$want"*) ;;
    *) echo "$*: said \"$said\", not \"$want...\""; failed=1 ;;
  esac
  [ "$rc" = 1 ] || { echo "$*: ended with $rc, not 1"; failed=1; }
}
expect "cannot open display :$n: " DISPLAY=":$n"
expect "cannot open display: DISPLAY is not set"
exit $failed
