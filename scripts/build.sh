#!/usr/bin/env bash
# Configures and builds into build/ (or $BUILD_DIR); arguments are passed to CMake's configure step,
# and $TARGETS, when set, limits what is built.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
if [ -n "${TARGETS:-}" ]; then
  # shellcheck disable=SC2086
  cmake --build "$BUILD_DIR" --parallel "$(nproc)" --target $TARGETS
else
  cmake --build "$BUILD_DIR" --parallel "$(nproc)"
fi
