#!/usr/bin/env bash
# Installs the Debian 12 packages the converter needs and that are not there yet.
# Usage: scripts/deps.sh [--tests]
set -euo pipefail

pkgs=(
  build-essential cmake ninja-build pkg-config
  libavcodec-dev libavformat-dev libavfilter-dev libavutil-dev libswscale-dev
  libswresample-dev libavcodec-extra
  libsdl1.2-dev
  zlib1g-dev libjpeg-dev libpng-dev libgif-dev
  libfreetype-dev libfontconfig-dev fonts-wqy-microhei fonts-dejavu-core
  libx11-dev libxext-dev
  libbenchmark-dev
)
if [[ "${1:-}" == "--tests" ]]; then
  pkgs+=(libgtest-dev googletest libbenchmark-dev xvfb xauth locales)
fi

missing=()
for p in "${pkgs[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The number-formatting tests run under a decimal-comma locale.
if [[ "${1:-}" == "--tests" ]] && ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  "${sudo_cmd[@]}" localedef -i de_DE -f UTF-8 de_DE.UTF-8 || echo "warning: could not generate de_DE.UTF-8"
fi
