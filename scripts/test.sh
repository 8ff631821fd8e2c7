#!/usr/bin/env bash
# Sets the machine up, builds, and runs every test; exits non-zero when a test fails.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
cd "${BUILD_DIR:-build}"
ctest --output-on-failure --parallel "$(nproc)" --timeout 300
