#!/usr/bin/env bash
# Installs whatever the build, the tests and the editor need and the machine
# lacks. The only place in the project that installs anything.
set -euo pipefail

packages=(
  g++ cmake make pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-multimedia-dev qt6-translations-l10n libgl-dev
  gstreamer1.0-plugins-base
  libjpeg-dev
  libsndfile1-dev libsamplerate0-dev libuchardet-dev
  clang libclang-rt-14-dev
  fonts-noto-cjk fonts-dejavu-core fonts-liberation2
  xvfb xauth
  desktop-file-utils
  python3
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
