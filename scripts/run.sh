#!/usr/bin/env bash
# Builds the editor and starts it with the sample chart. Without a display it
# runs on a virtual one (Xvfb).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
chart="$PWD/samples/demo.bms"
if [ ! -x build/beatloom ]; then
  ./build/cli/beatloom-cli check "$chart"
  exit 0
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" ./build/beatloom "$chart"
fi
exec ./build/beatloom "$chart"
