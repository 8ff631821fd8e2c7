#!/usr/bin/env bash
# Sets the machine up, builds, and runs every test; exits non-zero when a test fails.
# The database layer's tests run once more under AddressSanitizer first, since bound text and
# statement lifetimes are where memory faults would hide; the full suite runs last.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
if [ -d sqdb ] && ls sqdb/*.cpp >/dev/null 2>&1; then
  BUILD_DIR=build-asan TARGETS=sqdb_tests scripts/build.sh -DMW_SANITIZE=ON -DMW_BENCHMARKS=OFF
fi
scripts/build.sh
if [ -x build-asan/tests/sqdb/sqdb_tests ]; then
  echo "== database layer under AddressSanitizer =="
  build-asan/tests/sqdb/sqdb_tests --gtest_brief=1
fi
cd "${BUILD_DIR:-build}"
ctest --output-on-failure --parallel "$(nproc)" --timeout 300
