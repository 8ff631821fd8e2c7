#!/usr/bin/env bash
# Sets the machine up and builds everything: the libraries, tests and benchmarks.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
echo "Built into ${BUILD_DIR:-build}/."
# Zelvo, the notes application, starts when there is a display to show it on.
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "Starting Zelvo."
  nohup "${BUILD_DIR:-build}/notes/UI/zelvo" >/dev/null 2>&1 &
else
  echo "No display here: start Zelvo on a desktop with ${BUILD_DIR:-build}/notes/UI/zelvo"
fi
