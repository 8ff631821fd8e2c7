#!/usr/bin/env bash
# Sets the machine up and builds everything: the libraries, tests and benchmarks.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
echo "Built into ${BUILD_DIR:-build}/."
