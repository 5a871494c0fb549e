#!/usr/bin/env bash
# Installs the Debian 12 packages the converter needs and that are not there yet.
# Usage: scripts/deps.sh [--tests] [--virtual-screen]
set -euo pipefail

pkgs=(
  build-essential cmake ninja-build pkg-config
  libavcodec-dev libavformat-dev libavfilter-dev libavutil-dev libswscale-dev
  libswresample-dev libavcodec-extra
  libsdl1.2-dev
  zlib1g-dev libjpeg-dev libpng-dev libgif-dev
  libfreetype-dev libfontconfig-dev fonts-wqy-microhei fonts-dejavu-core
  libx11-dev libxext-dev libxrandr-dev
)
tests=false
for arg in "$@"; do
  case $arg in
    --tests)
      tests=true
      # The test command also builds the benchmarks, builds and tests the tree with clang
      # and checks its formatting.
      pkgs+=(libgtest-dev googletest libbenchmark-dev xvfb xauth locales clang clang-format libxfixes-dev evilwm)
      ;;
    --virtual-screen)
      # A machine without a display shows the program on a private X server.
      pkgs+=(xvfb xauth)
      ;;
    *)
      echo "usage: scripts/deps.sh [--tests] [--virtual-screen]" >&2
      exit 2
      ;;
  esac
done

missing=()
for p in "${pkgs[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

# Root runs the installers itself; anyone else through sudo, which keeps no
# environment: the front end is handed on with env.
as_root() {
  if [[ $(id -u) -eq 0 ]]; then
    env DEBIAN_FRONTEND=noninteractive "$@"
    return
  fi
  if ! command -v sudo >/dev/null; then
    echo "scripts/deps.sh: $1 needs root, and sudo is not installed." >&2
    echo "Run this script as root, or install: ${missing[*]:-locales}" >&2
    exit 1
  fi
  if ! sudo -v; then
    echo "scripts/deps.sh: $1 needs root, and sudo refused $(id -un)." >&2
    echo "Run this script as root, or install: ${missing[*]:-locales}" >&2
    exit 1
  fi
  sudo env DEBIAN_FRONTEND=noninteractive "$@"
}

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  as_root apt-get update -qq
  as_root apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The number-formatting tests run under a decimal-comma locale; without it they
# fail, and say so.
if $tests && ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  as_root localedef -i de_DE -f UTF-8 de_DE.UTF-8 ||
    echo "warning: could not generate de_DE.UTF-8: the locale tests will fail" >&2
fi
